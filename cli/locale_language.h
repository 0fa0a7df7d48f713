#pragma once
// The language tesmirol-cli speaks when --lang is not given: the one the
// environment's locale names.

#include <string_view>

#include "engine/language.h"

namespace tesmirol::cli {

// English when the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty starts with "en"; Chinese otherwise. An unset variable is
// passed as "".
Language LocaleLanguage(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) noexcept;

}  // namespace tesmirol::cli
