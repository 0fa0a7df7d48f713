#pragma once
// What the bridge's answers about targets share: the answers' JSON pieces
// (a setting, a solved target, the crystal as the exact solver read it) and
// the engine's GBK texts as UTF-8.

#include <string>
#include <string_view>

#include "answers/json_writer.h"
#include "answers/setting_json.h"
#include "answers/target_json.h"

namespace tesmirol::web {

using answers::JsonWriter;
using answers::WriteCrystalMembers;
using answers::WriteSetting;
using answers::WriteSolution;

// GBK text of the engine as UTF-8 for the page; the engine's texts are the
// user's own, converted from UTF-16, or the catalogue's ASCII, so they
// always convert back.
std::string Utf8(std::string_view gbk);

}  // namespace tesmirol::web
