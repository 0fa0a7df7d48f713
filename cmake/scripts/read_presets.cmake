# tesmirol_read_presets(<file> <crystal-var> <baud-var>)
#
# Reads the preset lists of the crystal box and the baud box from <file> and
# sets the two variables to CMake lists of the entries, in file order, with
# duplicates kept. Every generator of the lists (the command line's compiled-in
# tables, the dialog's resource script) includes this one reader.
#
# Format: a line "[crystal]" or "[baud]" starts a section; every other
# non-blank line is one entry of the current section. '#' starts a comment that
# runs to the end of the line. Leading and trailing blanks (and a CR of a CRLF
# file) are ignored.
#
# Entries are limited to printable ASCII without '"', '\', ';', '[' and ']', so
# that they can be written into C++ and resource-script string literals as they
# stand and carried in CMake lists. Anything else stops the build with the
# file name, the line number and what is wrong.
include("${CMAKE_CURRENT_LIST_DIR}/data_file_lines.cmake")

function(tesmirol_read_presets file crystalVar baudVar)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: preset file not found")
  endif()
  tesmirol_read_data_lines("${file}" lines)

  set(section "")
  set(crystal "")
  set(baud "")
  set(seenSections "")
  set(lineNumber 0)
  foreach(line IN LISTS lines)
    math(EXPR lineNumber "${lineNumber} + 1")
    tesmirol_clean_data_line("${line}" line shown)
    if(line STREQUAL "")
      continue()
    endif()

    set(where "${file}:${lineNumber}")

    if(line MATCHES "^${openMark}(.*)${closeMark}$")
      set(name "${CMAKE_MATCH_1}")
      if(NOT name MATCHES "^(crystal|baud)$")
        message(FATAL_ERROR "${where}: unknown section ${shown} (the sections are [crystal] and [baud])")
      endif()
      list(FIND seenSections "${name}" seenAt)
      if(seenAt GREATER_EQUAL 0)
        message(FATAL_ERROR "${where}: section ${shown} appears a second time")
      endif()
      list(APPEND seenSections "${name}")
      set(section "${name}")
      continue()
    endif()

    if(section STREQUAL "")
      message(FATAL_ERROR "${where}: entry \"${shown}\" stands outside a section "
                          "(start the list with [crystal] or [baud])")
    endif()
    if(NOT line MATCHES "^[ !#-Z^-~]+$")
      message(FATAL_ERROR "${where}: entry \"${shown}\" holds a character a preset may not contain "
                          "(printable ASCII only, without '\"', '\\', ';', '[' and ']')")
    endif()
    list(APPEND ${section} "${line}")
  endforeach()

  foreach(name IN ITEMS crystal baud)
    if("${${name}}" STREQUAL "")
      message(FATAL_ERROR "${file}: the section [${name}] is missing or empty")
    endif()
  endforeach()

  set(${crystalVar} "${crystal}" PARENT_SCOPE)
  set(${baudVar} "${baud}" PARENT_SCOPE)
endfunction()
