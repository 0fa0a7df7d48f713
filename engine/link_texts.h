#pragma once
// The link check in words, the same for every front end: the verdict and
// the comment line the generated code carries when a peer is named.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/language.h"
#include "engine/link_check.h"

namespace tesmirol {

// The verdict in the language's words ("可用", "works"), GBK.
std::string LinkVerdictText(LinkVerdict verdict, Language language);

// The code's note for a link to peerName at baud, GBK: the worse
// direction's mismatch and limit and the verdict; check is null when the
// peer cannot run near the rate.
std::string LinkCodeNoteText(std::string_view peerName, std::int32_t baud, const LinkCheck* check, Language language);

}  // namespace tesmirol
