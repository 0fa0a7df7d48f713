// The link's texts as the module reads them: the other end (a second
// 8051's CHIP@CRYSTAL from its box), this end's tolerance and the frame.
function linkTexts() {
  const peer = $("peer").value === "8051" ? $("peer-chip").value : $("peer").value;
  return { peer, tolerance: $("tolerance").value, frame: $("frame").value };
}

// The link choices: the second 8051's box only for a second 8051, the
// tolerance only with another end (the link's, or a planned UART's own);
// the frame is also the code's, so it stays; the finder ranks only with
// the link's.
function refreshLinkChoices() {
  const peer = $("peer").value;
  const anyPeer = peer !== "" || state.planRows.some((entry) => entry.peer.value !== "");
  const key = `${peer}|${anyPeer}`;
  if (key === state.linkPeer) return;
  state.linkPeer = key;
  setHidden($("peer-chip"), peer !== "8051");
  setHidden($("peer-chip-label"), peer !== "8051");
  $("tolerance").disabled = !anyPeer;
  $("finder-rank").disabled = peer === "";
}

// The verdict's colour: blue when the link works, amber when marginal,
// red when it fails.
function setVerdictClass(element, verdict) {
  element.classList.toggle("good", verdict === "Works");
  element.classList.toggle("marginal", verdict === "Marginal");
  element.classList.toggle("bad", verdict === "Fails");
}

function verdictText(verdict) {
  return text(`link.verdict-${verdict.toLowerCase()}`);
}

// Why a UART's link could not be checked, in the page's language.
function linkProblem(link, prefix) {
  const key = link.status === "PeerCannot" ? `link-${link.peerKind}-cannot` : `link-${keyOf(link.status)}`;
  return text(key, { uart: prefix, peer: link.peer, baud: link.baud, frame: $("frame").value });
}

// The link beside the results: per UART (one, or each of a plan) the
// verdict, each direction's worst mismatch (the sense nearer its limit),
// the receiver's limit and the margin, the largest tolerance this end's
// clock may have, and the second 8051's setting; or why it is unchecked.
// links: [{uart, link}], uart "" for the single UART.
function showLink(links) {
  const shown = links.filter((entry) => entry.link);
  // Without a link there is nothing to refill, keystroke after keystroke.
  if (shown.length === 0 && $("link-result").hidden) return;
  setHidden($("link-result"), shown.length === 0);
  const verdict = $("link-verdict");
  const parts = [];
  const rows = [];
  const notes = [];
  const problems = [];
  for (const { uart, link } of shown) {
    const prefix = uart ? text("link-uart-prefix", { uart }) : "";
    if (link.verdict) parts.push({ text: `${prefix}${verdictText(link.verdict)}`, verdict: link.verdict });
    if (link.status !== "Checked") {
      problems.push(linkProblem(link, prefix));
      continue;
    }
    for (const [key, direction] of [["link-own-to-peer", link.ownToPeer], ["link-peer-to-own", link.peerToOwn]]) {
      rows.push({ uart, direction: text(key), sense: direction[direction.binding], binding: direction.binding,
        verdict: direction.verdict });
    }
    notes.push(link.maxOwnTolerancePpm === null ? text("link-no-tolerance", { uart: prefix })
      : text("link-max-tolerance", { uart: prefix, ppm: link.maxOwnTolerancePpm }));
    const peer = link.peerSetting;
    if (peer) {
      notes.push(text("link-peer-setting", { uart: prefix, target: link.peerTarget, clock: peer.clockText,
        smod: peer.smod, reload: `${peer.reloadLabel} = ${peer.reloadText}`, rate: peer.achievedDecimalText }));
    }
  }
  // The verdict line is made again only when it changes; the notes, whose
  // figures change with most keystrokes, are refilled in place.
  const key = JSON.stringify([state.language, parts]);
  if (key !== state.linkKey) {
    state.linkKey = key;
    const spans = parts.map((part, index) => {
      const span = document.createElement("span");
      span.textContent = part.text;
      setVerdictClass(span, part.verdict);
      return index === 0 ? [span] : [text("announce-separator"), span];
    }).flat();
    verdict.replaceChildren(...(spans.length > 0 ? [text("link-verdict", { verdict: "" }), ...spans] : []));
    setHidden(verdict, spans.length === 0);
  }
  const list = $("link-notes");
  while (list.children.length > notes.length) list.lastChild.remove();
  notes.forEach((note, index) => setText(list.children[index] ?? list.appendChild(document.createElement("li")), note));
  setHidden(list, notes.length === 0);
  setText($("link-problem"), problems.join(" "));
  // The verdict (or why there is none) is announced after the results.
  const said = [verdict.hidden ? "" : verdict.textContent, problems.join(" ")].filter((part) => part !== "");
  if (said.length > 0) state.announced += text("announce-separator") + said.join(text("announce-separator"));
  setHidden($("link-problem"), problems.length === 0);
  setHidden($("link-table"), rows.length === 0);
  // One UART alone needs no UART column.
  $("link-table").classList.toggle("single", !links.some((entry) => entry.uart));
  tableRows($("link-table"), rows.length, 6).forEach((row, index) => {
    const entry = rows[index];
    const cells = row.cells;
    setCell(cells[0], entry.uart, undefined);
    setCell(cells[1], entry.direction, undefined);
    setCell(cells[2], text(`link-${entry.binding}`, { percent: entry.sense.worstText }), undefined);
    setCell(cells[3], `${entry.sense.limitText}%`, undefined);
    setCell(cells[4], `${entry.sense.marginText}%`, undefined);
    setCell(cells[5], verdictText(entry.verdict), undefined);
    setVerdictClass(cells[5], entry.verdict);
  });
}


// The link's choices as the module offers them: no other end, each
// adapter, an ideal one and a second 8051; every frame the UART carries.
function fillLinkChoices({ peers, frames }) {
  const adapters = peers.filter((name) => name !== "ideal");
  for (const value of ["", ...adapters, "ideal", "8051"]) $("peer").add(new Option(value, value));
  for (const frame of frames) $("frame").add(new Option(frame, frame));
}
