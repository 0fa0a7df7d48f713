# Writes the names of the text keys (TextKey::Name) that the given sources
# name, one a line, sorted: the texts a program built from those sources
# can show. The WebAssembly module compiles in these alone
# (generate_text_tables.cmake's KEEP_KEYS), not the command line's help and
# messages.
#
#   cmake -DSOURCES=a.cpp;b.h;... -DOUTPUT=keys.txt -P scan_text_keys.cmake
cmake_minimum_required(VERSION 3.25)

foreach(variable IN ITEMS SOURCES OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "scan_text_keys.cmake: -D${variable}= is missing")
  endif()
endforeach()

set(names "")
foreach(source IN LISTS SOURCES)
  file(READ "${source}" content)
  string(REGEX MATCHALL "TextKey::[A-Za-z0-9]+" found "${content}")
  list(TRANSFORM found REPLACE "^TextKey::" "")
  list(APPEND names ${found})
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
list(JOIN names "\n" text)
file(WRITE "${OUTPUT}.tmp" "${text}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
