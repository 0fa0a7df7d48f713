# Wraps the text tables' UTF-8 JSON (generate_text_tables.cmake's
# JSON_OUTPUT) in a script for the browser page, tesmirol-texts.js, which
# sets self.TESMIROL_TEXTS: a page opened straight from disk may load
# scripts but not fetch a JSON file.
#
#   cmake -DINPUT=texts.json -DOUTPUT=tesmirol-texts.js -P embed_texts.cmake
cmake_minimum_required(VERSION 3.25)

foreach(variable IN ITEMS INPUT OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "embed_texts.cmake: -D${variable}= is missing")
  endif()
endforeach()

file(READ "${INPUT}" json)
string(STRIP "${json}" json)
file(WRITE "${OUTPUT}.tmp" "// Generated from res/texts/zh.txt and res/texts/en.txt; do not edit.\n"
                           "self.TESMIROL_TEXTS = ${json};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
