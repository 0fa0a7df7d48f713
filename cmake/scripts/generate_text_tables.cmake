# Writes the user's texts in both languages, read from res/texts/zh.txt and
# res/texts/en.txt (UTF-8), as:
#   KEY_HEADER   engine/text_key.h: enum class TextKey, one name per key, so
#                that a misspelt key does not compile;
#   TABLE_SOURCE the values in GBK, each language's in key order, the keys'
#                names, and each catalogue target's texts;
#   JSON_OUTPUT  both tables as UTF-8 JSON, {"zh": {key: value}, "en": ...},
#                for the browser page.
# KEEP_KEYS, if given, names a file of the keys (as TextKey names them) whose
# values the C++ tables hold; the others are empty there (the WebAssembly
# module, which never shows the command line's help).
# A CMake script, so the cross builds need no program of their own at build
# time; GBK comes from the host's iconv command (ICONV).
#
# Format of a table: "key = value", one a line; a line that starts with '#'
# is a comment. Keys are lower-case letters, digits and '-' in parts joined
# by '.' ("report.selected-crystal" is TextKey::ReportSelectedCrystal). In a
# value "\n" is a line break, "\s" a blank (to keep one at either end),
# "\\" a backslash; "{name}" is a placeholder the program fills, "{{" and
# "}}" stand for braces.
#
# The build stops, naming the key, when a key is in one table and not the
# other, given twice, empty, its placeholders differ between the languages,
# an English value holds a byte above 0x7F, a value has a character GBK
# lacks, or a target of the catalogue (TARGETS) lacks its texts
# (target.NAME.chips, target.NAME.registers).
cmake_minimum_required(VERSION 3.25)

foreach(variable IN ITEMS ZH EN TARGETS KEY_HEADER TABLE_SOURCE JSON_OUTPUT ICONV)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "generate_text_tables.cmake: -D${variable}= is missing")
  endif()
endforeach()
include("${CMAKE_CURRENT_LIST_DIR}/data_file_lines.cmake")

string(ASCII 4 lineBreakMark)
string(ASCII 5 backslashMark)
string(ASCII 6 openBraceMark)
string(ASCII 7 closeBraceMark)
set(targetFields chips registers)

# Reads one table into <prefix>_keys (in file order) and <prefix>_value_<key>
# (escapes resolved to the marks above), checking each line.
function(tesmirol_read_text_table file prefix)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: text table not found")
  endif()
  tesmirol_read_data_lines("${file}" lines)
  set(keys "")
  set(lineNumber 0)
  foreach(line IN LISTS lines)
    math(EXPR lineNumber "${lineNumber} + 1")
    string(STRIP "${line}" stripped)
    if(stripped STREQUAL "" OR stripped MATCHES "^#")
      continue()
    endif()
    set(where "${file}:${lineNumber}")
    if(NOT line MATCHES "^([a-z0-9-]+(\\.[a-z0-9-]+)*) = (.*)$")
      message(FATAL_ERROR "${where}: not 'key = value' (keys are lower-case letters, digits, '-' and '.')")
    endif()
    set(key "${CMAKE_MATCH_1}")
    set(value "${CMAKE_MATCH_3}")
    if(key IN_LIST keys)
      message(FATAL_ERROR "${where}: the key '${key}' is given a second time")
    endif()
    string(REGEX REPLACE "[ \t\r]+$" "" value "${value}")
    string(REPLACE "\\\\" "${backslashMark}" value "${value}")
    string(REPLACE "\\n" "${lineBreakMark}" value "${value}")
    string(REPLACE "\\s" " " value "${value}")
    string(STRIP "${value}" stripped)
    if(stripped STREQUAL "")
      message(FATAL_ERROR "${where}: the value of '${key}' is empty")
    endif()
    if(value MATCHES "\\\\")
      message(FATAL_ERROR "${where}: the value of '${key}' holds a '\\' that is not \\n, \\s or \\\\")
    endif()
    list(APPEND keys "${key}")
    set("${prefix}_value_${key}" "${value}" PARENT_SCOPE)
  endforeach()
  set(${prefix}_keys "${keys}" PARENT_SCOPE)
endfunction()

# Sets <var> to the sorted, distinct placeholder names of the value; stops
# the build on a brace that is neither a placeholder nor doubled.
function(tesmirol_placeholders value where var)
  string(REPLACE "{{" "${openBraceMark}" value "${value}")
  string(REPLACE "}}" "${closeBraceMark}" value "${value}")
  string(REGEX MATCHALL "{[a-zA-Z][a-zA-Z0-9]*}" found "${value}")
  string(REGEX REPLACE "{[a-zA-Z][a-zA-Z0-9]*}" "" rest "${value}")
  if(rest MATCHES "[{}]")
    message(FATAL_ERROR "${where}: a brace that is not a {placeholder} (write {{ and }} for braces)")
  endif()
  list(REMOVE_DUPLICATES found)
  list(SORT found)
  set(${var} "${found}" PARENT_SCOPE)
endfunction()

# "report.selected-crystal" -> "ReportSelectedCrystal".
function(tesmirol_key_enum key var)
  string(REPLACE "." ";" parts "${key}")
  string(REPLACE "-" ";" parts "${parts}")
  set(name "")
  foreach(part IN LISTS parts)
    string(SUBSTRING "${part}" 0 1 first)
    string(SUBSTRING "${part}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    string(APPEND name "${first}${rest}")
  endforeach()
  set(${var} "${name}" PARENT_SCOPE)
endfunction()

# Sets <var> to one C++ string literal per line of <valuesFile> (UTF-8, the
# marks for line breaks and backslashes), the bytes in GBK as \x escapes.
# Stops the build, naming the table and the key, when a value (read from
# <prefix>_value_<key>) has a character GBK lacks.
function(tesmirol_gbk_literals valuesFile table prefix keys var)
  execute_process(
    COMMAND "${ICONV}" -f UTF-8 -t GBK "${valuesFile}"
    OUTPUT_FILE "${valuesFile}.gbk"
    RESULT_VARIABLE status
    ERROR_VARIABLE problem)
  if(NOT status EQUAL 0)
    foreach(key IN LISTS keys)
      file(WRITE "${valuesFile}.one" "${${prefix}_value_${key}}")
      execute_process(COMMAND "${ICONV}" -f UTF-8 -t GBK "${valuesFile}.one" RESULT_VARIABLE oneStatus
                      OUTPUT_QUIET ERROR_QUIET)
      if(NOT oneStatus EQUAL 0)
        message(FATAL_ERROR "${table}: the value of '${key}' is not UTF-8 that GBK can hold")
      endif()
    endforeach()
    message(FATAL_ERROR "${table}: iconv failed: ${problem}")
  endif()
  file(READ "${valuesFile}.gbk" hex HEX)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
  string(REPLACE "\\x0a" ";" literals "${escaped}")
  string(REPLACE "\\x04" "\\x0a" literals "${literals}")
  string(REPLACE "\\x05" "\\x5c" literals "${literals}")
  string(REGEX REPLACE ";$" "" literals "${literals}")
  set(${var} "${literals}" PARENT_SCOPE)
endfunction()

# The value as a JSON string (UTF-8).
function(tesmirol_json_string value var)
  string(REPLACE "${backslashMark}" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  string(REPLACE "${lineBreakMark}" "\\n" value "${value}")
  string(REPLACE "\t" "\\t" value "${value}")
  string(REPLACE "${semicolonMark}" ";" value "${value}")
  string(REPLACE "${openMark}" "[" value "${value}")
  string(REPLACE "${closeMark}" "]" value "${value}")
  set(${var} "\"${value}\"" PARENT_SCOPE)
endfunction()

tesmirol_read_text_table("${EN}" en)
tesmirol_read_text_table("${ZH}" zh)

foreach(key IN LISTS en_keys)
  if(NOT key IN_LIST zh_keys)
    message(FATAL_ERROR "${ZH}: the key '${key}' is missing (it is in ${EN})")
  endif()
endforeach()
foreach(key IN LISTS zh_keys)
  if(NOT key IN_LIST en_keys)
    message(FATAL_ERROR "${EN}: the key '${key}' is missing (it is in ${ZH})")
  endif()
endforeach()

# Every target of the catalogue has its plain-word texts in both tables.
tesmirol_read_data_lines("${TARGETS}" targetLines)
set(targetNames "")
foreach(line IN LISTS targetLines)
  if(line MATCHES "^${openMark}target ([^ ]+)${closeMark}")
    list(APPEND targetNames "${CMAKE_MATCH_1}")
    foreach(field IN LISTS targetFields)
      if(NOT "target.${CMAKE_MATCH_1}.${field}" IN_LIST en_keys)
        message(FATAL_ERROR "${EN}: the key 'target.${CMAKE_MATCH_1}.${field}' is missing (target ${CMAKE_MATCH_1} of ${TARGETS})")
      endif()
    endforeach()
  endif()
endforeach()

set(enumItems "")
set(enumNames "")
set(nameItems "")
set(enValues "")
set(zhValues "")
set(jsonEn "")
set(jsonZh "")
foreach(key IN LISTS en_keys)
  set(enValue "${en_value_${key}}")
  set(zhValue "${zh_value_${key}}")
  tesmirol_placeholders("${enValue}" "${EN}: '${key}'" enPlaceholders)
  tesmirol_placeholders("${zhValue}" "${ZH}: '${key}'" zhPlaceholders)
  if(NOT enPlaceholders STREQUAL zhPlaceholders)
    message(FATAL_ERROR "${ZH}: the placeholders of '${key}' ({${zhPlaceholders}}) differ from ${EN}'s ({${enPlaceholders}})")
  endif()
  tesmirol_key_enum("${key}" enumName)
  if(enumName IN_LIST enumNames)
    message(FATAL_ERROR "${EN}: the key '${key}' gives the name ${enumName} of another key")
  endif()
  list(APPEND enumNames "${enumName}")
  string(APPEND enumItems "  ${enumName},\n")
  string(APPEND nameItems "      \"${key}\",\n")
  string(APPEND enValues "${enValue}\n")
  string(APPEND zhValues "${zhValue}\n")
  tesmirol_json_string("${enValue}" enJson)
  tesmirol_json_string("${zhValue}" zhJson)
  string(APPEND jsonEn "    \"${key}\": ${enJson},\n")
  string(APPEND jsonZh "    \"${key}\": ${zhJson},\n")
endforeach()
list(LENGTH en_keys keyCount)

# CMake's lists cannot hold the characters the reader swapped for marks, so
# the values go to iconv with the marks turned back.
set(en_table "${EN}")
set(zh_table "${ZH}")
foreach(language IN ITEMS en zh)
  string(REPLACE "${semicolonMark}" ";" ${language}Values "${${language}Values}")
  string(REPLACE "${openMark}" "[" ${language}Values "${${language}Values}")
  string(REPLACE "${closeMark}" "]" ${language}Values "${${language}Values}")
  file(WRITE "${TABLE_SOURCE}.${language}.txt" "${${language}Values}")
  tesmirol_gbk_literals("${TABLE_SOURCE}.${language}.txt" "${${language}_table}" ${language} "${en_keys}"
                        ${language}Literals)
endforeach()

# English stays ASCII: a byte above 0x7F names its key.
set(index 0)
foreach(literal IN LISTS enLiterals)
  if(literal MATCHES "\\\\x[89a-f]")
    list(GET en_keys ${index} key)
    message(FATAL_ERROR "${EN}: the value of '${key}' holds a byte above 0x7F")
  endif()
  math(EXPR index "${index} + 1")
endforeach()

# With KEEP_KEYS (a file of key names as TextKey names them, one a line),
# the C++ tables hold those keys' values and the catalogue's texts alone,
# the others empty; the JSON holds every value.
set(keptNames "")
if(DEFINED KEEP_KEYS)
  file(STRINGS "${KEEP_KEYS}" keptNames)
endif()
set(enItems "")
set(zhItems "")
foreach(language IN ITEMS en zh)
  set(index 0)
  foreach(literal IN LISTS ${language}Literals)
    list(GET en_keys ${index} key)
    tesmirol_key_enum("${key}" enumName)
    if(DEFINED KEEP_KEYS AND NOT enumName IN_LIST keptNames AND NOT key MATCHES "^target\\.")
      set(literal "")
    endif()
    string(APPEND ${language}Items "      \"${literal}\",\n")
    math(EXPR index "${index} + 1")
  endforeach()
endforeach()

set(targetItems "")
foreach(name IN LISTS targetNames)
  string(APPEND targetItems "      TargetTextKeys{\"${name}\"")
  foreach(field IN LISTS targetFields)
    tesmirol_key_enum("target.${name}.${field}" enumName)
    string(APPEND targetItems ", TextKey::${enumName}")
  endforeach()
  string(APPEND targetItems "},\n")
endforeach()

file(WRITE "${KEY_HEADER}.tmp"
"// Generated from res/texts/en.txt; do not edit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tesmirol {

// One name per key of the text tables, in the order of res/texts/en.txt.
enum class TextKey : std::uint16_t {
${enumItems}};

inline constexpr std::size_t kTextKeyCount = ${keyCount};

}  // namespace tesmirol
")

file(WRITE "${TABLE_SOURCE}.tmp"
"// Generated from res/texts/zh.txt and res/texts/en.txt; do not edit.
#include \"engine/text_tables.h\"

#include <array>

namespace tesmirol {

std::span<const std::string_view> TextTable(Language language) {
  static constexpr std::array<std::string_view, kTextKeyCount> chinese = {
${zhItems}  };
  static constexpr std::array<std::string_view, kTextKeyCount> english = {
${enItems}  };
  return language == Language::English ? std::span<const std::string_view>(english)
                                       : std::span<const std::string_view>(chinese);
}

std::span<const std::string_view> TextKeyNames() {
  static constexpr std::array<std::string_view, kTextKeyCount> names = {
${nameItems}  };
  return names;
}

std::span<const TargetTextKeys> TargetTextKeyTable() {
  static constexpr std::array targets = {
${targetItems}  };
  return targets;
}

}  // namespace tesmirol
")

string(REGEX REPLACE ",\n$" "\n" jsonEn "${jsonEn}")
string(REGEX REPLACE ",\n$" "\n" jsonZh "${jsonZh}")
file(WRITE "${JSON_OUTPUT}.tmp" "{\n  \"zh\": {\n${jsonZh}  },\n  \"en\": {\n${jsonEn}  }\n}\n")

foreach(output IN ITEMS KEY_HEADER TABLE_SOURCE JSON_OUTPUT)
  file(COPY_FILE "${${output}}.tmp" "${${output}}" ONLY_IF_DIFFERENT)
  file(REMOVE "${${output}}.tmp")
endforeach()
file(REMOVE "${TABLE_SOURCE}.en.txt" "${TABLE_SOURCE}.zh.txt" "${TABLE_SOURCE}.en.txt.gbk"
     "${TABLE_SOURCE}.zh.txt.gbk" "${TABLE_SOURCE}.en.txt.one" "${TABLE_SOURCE}.zh.txt.one")
