#pragma once
// The user's texts as tesmirol-cli prints them: the text tables' GBK values
// (engine/texts.h) in UTF-8.

#include <initializer_list>
#include <string>

#include "engine/texts.h"

namespace tesmirol::cli {

// The key's text in the language, its placeholders filled, in UTF-8. The
// arguments are UTF-8 too (a placeholder's value is copied as it is).
std::string Utf8Text(Language language, TextKey key, std::initializer_list<TextArgument> arguments = {});

}  // namespace tesmirol::cli
