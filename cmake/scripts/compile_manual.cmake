# Compiles the manual at build time: the HTML sources (UTF-8) are converted
# to GBK with their charset declaration to match, then chmcmd compiles the
# project into OUTPUT.
#
#   cmake -DSOURCE_DIR=<docs/manual> -DWORK_DIR=<dir> -DOUTPUT=<file.chm>
#         -DPROJECT_FILE=<name.hhp> -DFILES=<a|b|...> -DCHMCMD=<chmcmd> -DICONV=<iconv>
#         -P compile_manual.cmake
#
# The help viewer reads the contents, the index and the titles in the code
# page of the document's language (Chinese (PRC): 936), and chmcmd copies them
# byte for byte, so the sources go in as GBK.

foreach(variable IN ITEMS SOURCE_DIR WORK_DIR OUTPUT PROJECT_FILE FILES CHMCMD ICONV)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "compile_manual: ${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

string(REPLACE "|" ";" files "${FILES}")
foreach(name IN LISTS files)
  file(READ "${SOURCE_DIR}/${name}" content)
  string(REPLACE "charset=utf-8" "charset=gb2312" content "${content}")
  file(WRITE "${WORK_DIR}/${name}.utf8" "${content}")
  execute_process(
    COMMAND "${ICONV}" -f UTF-8 -t GBK "${WORK_DIR}/${name}.utf8"
    OUTPUT_FILE "${WORK_DIR}/${name}"
    ERROR_VARIABLE iconvError
    RESULT_VARIABLE iconvResult)
  if(NOT iconvResult EQUAL 0)
    message(FATAL_ERROR "compile_manual: ${name} holds a character that GBK cannot hold: ${iconvError}")
  endif()
  file(REMOVE "${WORK_DIR}/${name}.utf8")
endforeach()

execute_process(
  COMMAND "${CHMCMD}" --no-html-scan "${PROJECT_FILE}"
  WORKING_DIRECTORY "${WORK_DIR}"
  OUTPUT_VARIABLE chmcmdOutput
  ERROR_VARIABLE chmcmdOutput
  RESULT_VARIABLE chmcmdResult)
string(REGEX REPLACE "\\.hhp$" ".chm" compiled "${PROJECT_FILE}")
if(NOT chmcmdResult EQUAL 0 OR NOT EXISTS "${WORK_DIR}/${compiled}")
  message(FATAL_ERROR "compile_manual: chmcmd failed (${chmcmdResult}):\n${chmcmdOutput}")
endif()
file(COPY_FILE "${WORK_DIR}/${compiled}" "${OUTPUT}")
