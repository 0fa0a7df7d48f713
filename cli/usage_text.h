#pragma once
// The text below the options in tesmirol-cli --help: the inputs, the code,
// the tables, examples and the exit statuses.

#include <string>

#include "engine/language.h"

namespace tesmirol::cli {

// The footer in the language, UTF-8, its paragraphs a blank line apart.
std::string UsageFooter(Language language);

}  // namespace tesmirol::cli
