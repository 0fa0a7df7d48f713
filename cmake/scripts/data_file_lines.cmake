# Reading the project's line-based data files (res/presets.txt,
# res/targets.txt): one reader for their shared rules, so that a comment, a
# blank or a CR LF line end means the same in every file.
#
# CMake lists split at ';' and treat '[' ']' specially, so those characters
# are swapped for the control characters below before the text becomes a list
# of lines; the files' own checks then reject or restore them by name.
string(ASCII 1 semicolonMark)
string(ASCII 2 openMark)
string(ASCII 3 closeMark)

# tesmirol_read_data_lines(<file> <lines-var>)
#
# Sets <lines-var> to the file's lines, with ';', '[' and ']' swapped for
# the marks and CR LF read as LF.
function(tesmirol_read_data_lines file linesVar)
  file(READ "${file}" content)
  string(REPLACE ";" "${semicolonMark}" content "${content}")
  string(REPLACE "[" "${openMark}" content "${content}")
  string(REPLACE "]" "${closeMark}" content "${content}")
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(${linesVar} "${lines}" PARENT_SCOPE)
endfunction()

# tesmirol_clean_data_line(<line> <line-var> <shown-var>)
#
# Sets <line-var> to the line without its comment ('#' to the end) and
# without leading and trailing blanks, and <shown-var> to the same with the
# marks turned back into the characters they stand for, for messages.
function(tesmirol_clean_data_line line lineVar shownVar)
  string(FIND "${line}" "#" commentStart)
  if(commentStart GREATER_EQUAL 0)
    string(SUBSTRING "${line}" 0 ${commentStart} line)
  endif()
  string(STRIP "${line}" line)
  string(REPLACE "${semicolonMark}" ";" shown "${line}")
  string(REPLACE "${openMark}" "[" shown "${shown}")
  string(REPLACE "${closeMark}" "]" shown "${shown}")
  set(${lineVar} "${line}" PARENT_SCOPE)
  set(${shownVar} "${shown}" PARENT_SCOPE)
endfunction()

# tesmirol_take_record_value(<where> <key> <value> <record> <keys> <prefix> <terminator> [<kind>])
#
# One "key = value" line of a record: stops the build when the key is not
# one of <keys> (the message names the <kind> of record when given), is given a second time for <record> (<prefix><key> already
# set), or when the value is empty or holds '"', '\' ';' or the raw string
# terminator ")<terminator>" the generated C++ encloses it in; otherwise
# sets <prefix><key> in the caller's scope to the value with '[' and ']'
# restored.
function(tesmirol_take_record_value where key value record keys prefix terminator)
  list(FIND keys "${key}" known)
  if(known LESS 0)
    set(inKind "")
    if(ARGC GREATER 7)
      set(inKind " in ${ARGV7}")
    endif()
    message(FATAL_ERROR "${where}: unknown key '${key}'${inKind} (the keys are ${keys})")
  endif()
  if(DEFINED "${prefix}${key}")
    message(FATAL_ERROR "${where}: '${key}' is given a second time for ${record}")
  endif()
  if(value STREQUAL "" OR value MATCHES "[\"\\\\${semicolonMark}]" OR value MATCHES "\\)${terminator}")
    message(FATAL_ERROR "${where}: the value of '${key}' is empty or holds '\"', '\\\\' or ';'")
  endif()
  string(REPLACE "${openMark}" "[" value "${value}")
  string(REPLACE "${closeMark}" "]" value "${value}")
  set("${prefix}${key}" "${value}" PARENT_SCOPE)
endfunction()
