#pragma once
// The reload look-up as the page asks it, from the texts the user typed
// (GBK): the rates a reload value gives the crystal on the classic Timer 1,
// or on each generator of a target's or family's UART, as tesmirol-cli
// --reload (with --target NAME) gives them, each compared with the rate box.

#include "answers/json_writer.h"
#include "answers/link_question.h"

namespace tesmirol::answers {

// The texts: the crystal, the reload ("0xFD" or "253"), the target or
// family ("" for the classic Timer 1), its UART ("" for the chip's first)
// and the rate the results are compared with.
struct ReloadTexts {
  GbkText crystal;
  GbkText reload;
  GbkText target;
  GbkText uart;
  GbkText baud;
};

// {"status":"ok", "uart", "reports": [...]} with the reports of
// WriteReloadAnswer, each rate compared with the baud text when it reads as
// a rate above 0; or {"status"}: "badReload" (not 0xFD or 253 up to
// 0xFFFF), "unknownTarget", "unknownUart", "crystalNotGbk", "noResult" (the
// crystal gives none) or "tooWide" (wider than the classic TH1).
void WriteReloadQuestion(JsonWriter& json, const ReloadTexts& texts);

}  // namespace tesmirol::answers
