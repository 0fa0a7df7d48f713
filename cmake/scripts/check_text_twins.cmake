# Checks that ENGLISH is a faithful twin of the code text CHINESE: the same
# pieces (a line "@@@ name" starts the piece called name; a text without such
# lines is one piece), the same placeholders ("<NAME>", NAME of upper-case
# letters, digits and underscores) in each piece, and in the English text no
# byte above 0x7F. Touches STAMP when all holds; otherwise fails with one
# line per fault, each naming the piece.
#
#   cmake -DCHINESE=<file> -DENGLISH=<file> -DSTAMP=<file> -P check_text_twins.cmake
#
# The texts are read as hexadecimal, two digits and a space a byte, so that
# no byte of a GBK text or a ';' of the code can upset CMake's strings and
# lists.

cmake_minimum_required(VERSION 3.25)

foreach(variable CHINESE ENGLISH STAMP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_text_twins.cmake: ${variable} is not set")
  endif()
endforeach()

# The text of hexadecimal bytes "41 42 " as characters ("AB"); only for the
# ASCII names and placeholders the messages quote.
function(HexToText hex outVariable)
  string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${hex}")
  set(text "")
  foreach(byte IN LISTS bytes)
    math(EXPR code "0x${byte}")
    string(ASCII ${code} character)
    string(APPEND text "${character}")
  endforeach()
  set(${outVariable} "${text}" PARENT_SCOPE)
endfunction()

# Reads file into <prefix>_NAMES (the pieces' names, in order) and, for each
# name, <prefix>_BODY_<name> (the piece's bytes as spaced hexadecimal).
function(ReadPieces file prefix)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\1 " spaced "${hex}")
  # A marker line at the start of the text or after a CR LF; "|" never
  # occurs in hexadecimal and becomes the list's separator.
  string(REPLACE "0d 0a 40 40 40 20 " "|" cut "0d 0a ${spaced}")
  set(names "")
  if(NOT cut MATCHES "\\|")
    set(names "(the whole text)")
    set(${prefix}_BODY_(the\ whole\ text) "${spaced}" PARENT_SCOPE)
  else()
    string(REPLACE "|" ";" pieces "${cut}")
    list(REMOVE_AT pieces 0)
    foreach(piece IN LISTS pieces)
      string(FIND "${piece}" "0d 0a " lineEnd)
      if(lineEnd EQUAL -1)
        set(nameHex "${piece}")
        set(body "")
      else()
        string(SUBSTRING "${piece}" 0 ${lineEnd} nameHex)
        math(EXPR bodyStart "${lineEnd} + 6")
        string(SUBSTRING "${piece}" ${bodyStart} -1 body)
      endif()
      HexToText("${nameHex}" name)
      list(APPEND names "${name}")
      set(${prefix}_BODY_${name} "${body}" PARENT_SCOPE)
    endforeach()
  endif()
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
endfunction()

# The placeholders of a piece, each once, sorted, as text ("<BPS>;<TH1>").
# '<' (3c) is never the second byte of a GBK character, so a match always
# starts on a character.
function(Placeholders body outVariable)
  string(REGEX MATCHALL "3c (4[1-9a-f]|5[0-9a]) ((3[0-9]|4[1-9a-f]|5[0-9a]|5f) )*3e " found "${body}")
  set(placeholders "")
  foreach(hex IN LISTS found)
    HexToText("${hex}" placeholder)
    list(APPEND placeholders "${placeholder}")
  endforeach()
  list(REMOVE_DUPLICATES placeholders)
  list(SORT placeholders)
  set(${outVariable} "${placeholders}" PARENT_SCOPE)
endfunction()

ReadPieces("${CHINESE}" ZH)
ReadPieces("${ENGLISH}" EN)

set(faults "")
foreach(name IN LISTS ZH_NAMES)
  if(NOT name IN_LIST EN_NAMES)
    string(APPEND faults "\n  piece '${name}': missing from ${ENGLISH}")
  endif()
endforeach()
foreach(name IN LISTS EN_NAMES)
  if(NOT name IN_LIST ZH_NAMES)
    string(APPEND faults "\n  piece '${name}': not in ${CHINESE}")
    continue()
  endif()
  Placeholders("${ZH_BODY_${name}}" chinesePlaceholders)
  Placeholders("${EN_BODY_${name}}" englishPlaceholders)
  if(NOT chinesePlaceholders STREQUAL englishPlaceholders)
    string(REPLACE ";" ", " chinesePlaceholders "${chinesePlaceholders}")
    string(REPLACE ";" ", " englishPlaceholders "${englishPlaceholders}")
    string(APPEND faults "\n  piece '${name}': placeholders ${englishPlaceholders} in English, "
                         "${chinesePlaceholders} in Chinese")
  endif()
  if(" ${EN_BODY_${name}}" MATCHES " [89a-f][0-9a-f] ")
    string(STRIP "${CMAKE_MATCH_0}" byte)
    string(APPEND faults "\n  piece '${name}': byte 0x${byte} above 0x7F in English")
  endif()
endforeach()

if(NOT faults STREQUAL "")
  message(FATAL_ERROR "The English code text ${ENGLISH} does not match ${CHINESE}:${faults}")
endif()
file(TOUCH "${STAMP}")
