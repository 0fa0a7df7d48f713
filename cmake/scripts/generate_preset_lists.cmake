# Writes OUTPUT, a C++ source that holds the crystal and baud preset lists read
# from INPUT (res/presets.txt) as the tables behind res/preset_lists.h.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/read_presets.cmake")

tesmirol_read_presets("${INPUT}" crystal baud)

# Writes one constexpr array of string views; entries are plain ASCII without
# quotes or backslashes, so each stands in its literal unchanged.
function(tesmirol_preset_array name entries outVar)
  list(LENGTH entries count)
  set(body "")
  foreach(entry IN LISTS entries)
    string(APPEND body "    \"${entry}\"sv,\n")
  endforeach()
  set(${outVar} "constexpr std::array<std::string_view, ${count}> ${name}{{\n${body}}};\n" PARENT_SCOPE)
endfunction()

tesmirol_preset_array(kCrystalPresets "${crystal}" crystalArray)
tesmirol_preset_array(kBaudPresets "${baud}" baudArray)

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include \"res/preset_lists.h\"

#include <array>

namespace tesmirol {
namespace {

using namespace std::string_view_literals;

${crystalArray}
${baudArray}
}  // namespace

std::span<const std::string_view> CrystalPresets() noexcept { return kCrystalPresets; }

std::span<const std::string_view> BaudPresets() noexcept { return kBaudPresets; }

}  // namespace tesmirol
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
