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
function(tesmirol_read_presets file crystalVar baudVar)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: preset file not found")
  endif()
  file(READ "${file}" content)

  # CMake lists split at ';' and treat '[' ']' specially, so those characters
  # are swapped for control characters before the text becomes a list of
  # lines; the validation below then rejects them by their original names.
  string(ASCII 1 semicolonMark)
  string(ASCII 2 openMark)
  string(ASCII 3 closeMark)
  string(REPLACE ";" "${semicolonMark}" content "${content}")
  string(REPLACE "[" "${openMark}" content "${content}")
  string(REPLACE "]" "${closeMark}" content "${content}")
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")

  set(section "")
  set(crystal "")
  set(baud "")
  set(seenSections "")
  set(lineNumber 0)
  foreach(line IN LISTS lines)
    math(EXPR lineNumber "${lineNumber} + 1")
    string(FIND "${line}" "#" commentStart)
    if(commentStart GREATER_EQUAL 0)
      string(SUBSTRING "${line}" 0 ${commentStart} line)
    endif()
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()

    string(REPLACE "${semicolonMark}" ";" shown "${line}")
    string(REPLACE "${openMark}" "[" shown "${shown}")
    string(REPLACE "${closeMark}" "]" shown "${shown}")
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
