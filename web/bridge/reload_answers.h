#pragma once
// The page's reload look-up: the rates a reload value gives the crystal on
// the classic Timer 1, or on each generator of a target's or family's UART,
// as tesmirol-cli --reload (with --target NAME for each generator) gives
// them.

#include <string>
#include <string_view>

namespace tesmirol::web {

// The texts answered as JSON, each rate compared with the baud text when it
// reads as a rate above 0: {"status":"ok", "uart", "reports": [...]} with
// the reports of answers::WriteReloadAnswer, or the status "badReload" (not
// 0xFD or 253 up to 0xFFFF), "unknownTarget", "unknownUart",
// "crystalNotGbk", "noResult" (the crystal gives none) or "tooWide" (wider
// than the classic TH1: reloadBits). An empty target is the classic Timer 1.
std::string ReloadJson(std::u16string_view crystal, std::u16string_view reload, std::u16string_view target,
                       std::u16string_view uart, std::u16string_view baud);

}  // namespace tesmirol::web
