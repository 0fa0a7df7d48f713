#include "web/bridge/target_json.h"

#include "text/encoding.h"

namespace tesmirol::web {

std::string Utf8(std::string_view gbk) { return text::GbkToUtf8(gbk).value_or(std::string()); }

}  // namespace tesmirol::web
