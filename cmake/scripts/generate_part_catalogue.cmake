# Writes OUTPUT, a C++ source that holds the part catalogue read from INPUT
# (res/parts.txt) as the tables behind engine/part_catalogue.h. A CMake
# script, so the cross build needs no program of its own at build time.
#
# Every record is checked: a family name in lower-case letters, digits and
# '-'; a source and names, each given once; names in capitals, digits and
# '+', with well-formed "{A,B}" groups. The groups are expanded here, so the
# program holds every part number written out, sorted for a binary search.
# A part number named by two records, or one that is also a target or a
# family name of TARGETS (res/targets.txt), stops the build: a name on the
# command line must mean one thing.
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "${INPUT}: part catalogue not found")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/data_file_lines.cmake")

# The names --target takes before it looks at parts, in capitals.
file(STRINGS "${TARGETS}" catalogueHeads REGEX "^\\[(target|family) [^ ]+\\]")
set(catalogueNames "")
foreach(head IN LISTS catalogueHeads)
  string(REGEX REPLACE "^\\[(target|family) ([^ ]+)\\].*$" "\\2" head "${head}")
  string(TOUPPER "${head}" head)
  list(APPEND catalogueNames "${head}")
endforeach()
file(STRINGS "${TARGETS}" familyLines REGEX "^families *= ")
foreach(familyLine IN LISTS familyLines)
  string(REGEX REPLACE "^families *= *" "" familyLine "${familyLine}")
  string(TOUPPER "${familyLine}" familyLine)
  string(REPLACE " " ";" familyLine "${familyLine}")
  list(APPEND catalogueNames ${familyLine})
endforeach()

# tesmirol_expand_part(<pattern> <out-var>): every name the pattern stands for.
function(tesmirol_expand_part pattern outVar)
  string(FIND "${pattern}" "{" open)
  if(open LESS 0)
    set(${outVar} "${pattern}" PARENT_SCOPE)
    return()
  endif()
  string(FIND "${pattern}" "}" close)
  if(close LESS 0)
    message(FATAL_ERROR "${where}: '${pattern}' leaves a '{' open")
  endif()
  if(close LESS open)
    message(FATAL_ERROR "${where}: '${pattern}' has a '}' before its '{'")
  endif()
  string(SUBSTRING "${pattern}" 0 ${open} head)
  math(EXPR groupStart "${open} + 1")
  math(EXPR groupLength "${close} - ${groupStart}")
  string(SUBSTRING "${pattern}" ${groupStart} ${groupLength} group)
  math(EXPR tailStart "${close} + 1")
  string(SUBSTRING "${pattern}" ${tailStart} -1 tail)
  if(group MATCHES "[{]" OR NOT group MATCHES ",")
    message(FATAL_ERROR "${where}: the group {${group}} in '${pattern}' needs two or more alternatives and no '{'")
  endif()
  # An empty alternative stays an element of the list: ",T" is "" and "T".
  string(REPLACE "," ";" alternatives "${group}")
  set(expanded "")
  foreach(alternative IN LISTS alternatives)
    tesmirol_expand_part("${head}${alternative}${tail}" more)
    list(APPEND expanded ${more})
  endforeach()
  set(${outVar} "${expanded}" PARENT_SCOPE)
endfunction()

tesmirol_read_data_lines("${INPUT}" lines)
set(recordKeys source names)
set(recordCount 0)
set(recordBody "")
set(sortable "")
set(currentFamily "")
set(lineNumber 0)

# Checks the record just read, appends its initializer to `recordBody` and
# its expanded names, each as "NAME INDEX", to `sortable`.
function(tesmirol_finish_parts)
  if(currentFamily STREQUAL "")
    return()
  endif()
  set(where "${INPUT}: [parts ${currentFamily}] before line ${lineNumber}")
  foreach(key IN LISTS recordKeys)
    if(NOT DEFINED "value_${key}")
      message(FATAL_ERROR "${where}: the key '${key}' is missing")
    endif()
  endforeach()
  string(REPLACE " " ";" patterns "${value_names}")
  foreach(pattern IN LISTS patterns)
    if(pattern STREQUAL "")
      continue()
    endif()
    if(NOT pattern MATCHES "^[A-Z0-9+{},]+$")
      message(FATAL_ERROR "${where}: '${pattern}' is not capitals, digits, '+' and {A,B} groups")
    endif()
    tesmirol_expand_part("${pattern}" expanded)
    foreach(name IN LISTS expanded)
      if(NOT name MATCHES "^[A-Z0-9][A-Z0-9+]*$" OR name MATCHES "[{},]")
        message(FATAL_ERROR "${where}: '${pattern}' expands to '${name}', not a part number")
      endif()
      if(DEFINED "part_${name}")
        message(FATAL_ERROR "${where}: ${name} is named again (first by [parts ${part_${name}}])")
      endif()
      if(name IN_LIST catalogueNames)
        message(FATAL_ERROR "${where}: ${name} is a target or family name of ${TARGETS}")
      endif()
      set("part_${name}" "${currentFamily}" PARENT_SCOPE)
      set("part_${name}" "${currentFamily}")
      list(APPEND sortable "${name} ${recordCount}")
    endforeach()
  endforeach()
  string(APPEND recordBody "    PartRecord{
        .family = \"${currentFamily}\",
        .source = R\"prt(${value_source})prt\",
        .names = \"${value_names}\",
    },
")
  math(EXPR recordCount "${recordCount} + 1")
  set(recordBody "${recordBody}" PARENT_SCOPE)
  set(sortable "${sortable}" PARENT_SCOPE)
  set(recordCount "${recordCount}" PARENT_SCOPE)
endfunction()

foreach(line IN LISTS lines)
  math(EXPR lineNumber "${lineNumber} + 1")
  tesmirol_clean_data_line("${line}" line shown)
  if(line STREQUAL "")
    continue()
  endif()
  set(where "${INPUT}:${lineNumber}")
  if(line MATCHES "^${openMark}parts ([^ ]+)${closeMark}$")
    tesmirol_finish_parts()
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^[a-z0-9][a-z0-9-]*$")
      message(FATAL_ERROR "${where}: family name '${name}' is not lower-case letters, digits and '-'")
    endif()
    foreach(key IN LISTS recordKeys)
      unset("value_${key}")
    endforeach()
    set(currentFamily "${name}")
    continue()
  endif()
  if(NOT line MATCHES "^([a-z-]+) *= *(.*)$")
    message(FATAL_ERROR "${where}: \"${shown}\" is not '[parts FAMILY]' or 'key = value'")
  endif()
  set(key "${CMAKE_MATCH_1}")
  set(value "${CMAKE_MATCH_2}")
  if(currentFamily STREQUAL "")
    message(FATAL_ERROR "${where}: '${key}' stands before the first [parts FAMILY]")
  endif()
  tesmirol_take_record_value("${where}" "${key}" "${value}" "[parts ${currentFamily}]" "${recordKeys}" value_ prt)
endforeach()
tesmirol_finish_parts()

if(recordCount EQUAL 0)
  message(FATAL_ERROR "${INPUT}: the catalogue holds no part")
endif()

# Byte order, as std::string_view compares: the blank before the index sorts
# below every character of a name, so "AT89C51" comes before "AT89C51ED2".
list(SORT sortable COMPARE STRING)
set(nameBody "")
foreach(entry IN LISTS sortable)
  string(REPLACE " " ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 record)
  string(APPEND nameBody "    PartName{\"${name}\", ${record}},\n")
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated from res/parts.txt; do not edit.
#include \"engine/part_catalogue.h\"

#include <array>

namespace tesmirol {

std::span<const PartRecord> PartRecords() {
  static constexpr auto records = std::to_array<PartRecord>({
${recordBody}  });
  return records;
}

std::span<const PartName> PartNames() {
  static constexpr auto names = std::to_array<PartName>({
${nameBody}  });
  return names;
}

}  // namespace tesmirol
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
