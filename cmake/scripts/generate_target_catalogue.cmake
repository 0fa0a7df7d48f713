# Writes OUTPUT, a C++ source that holds the target catalogue read from INPUT
# (res/targets.txt) as the table behind engine/target_catalogue.h. A CMake
# script, so the cross build needs no program of its own at build time.
#
# Every entry is checked: known keys only, every key given once, names and
# families in lower-case letters, digits and '-', names unique and distinct
# from every family, and the divider consistent with the generator and its
# clock (32 x P for Timer 1 mode 2 and the STC12 BRT, 4 x P for the STC15/8
# 16-bit timers, 32 or 16 for the 8052 Timer 2 at 12 or 6 clocks). A mistake
# stops the build with the file name, the line and what is wrong.
cmake_minimum_required(VERSION 3.25)

set(requiredKeys families chips generator clock clocks-per-cycle divider reload-bits smod
                 reload-registers registers formula source)

if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "${INPUT}: target catalogue not found")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/data_file_lines.cmake")
tesmirol_read_data_lines("${INPUT}" lines)

set(names "")
set(allFamilies "")
set(current "")
set(lineNumber 0)

# Checks the entry just read and appends its C++ initializer to `body`.
function(tesmirol_finish_target)
  if(current STREQUAL "")
    return()
  endif()
  set(where "${INPUT}: target ${current}")
  foreach(key IN LISTS requiredKeys)
    if(NOT DEFINED "value_${key}")
      message(FATAL_ERROR "${where}: the key '${key}' is missing")
    endif()
  endforeach()

  set(generatorNames timer1-mode2 timer2-rcap stc15-timer2 stc15-timer1-mode0 stc12-brt)
  set(generatorEnums Timer1Mode2 Timer2Rcap Stc15Timer2 Stc15Timer1Mode0 Stc12Brt)
  list(FIND generatorNames "${value_generator}" generatorIndex)
  if(generatorIndex LESS 0)
    message(FATAL_ERROR "${where}: generator '${value_generator}' is not one of ${generatorNames}")
  endif()
  list(GET generatorEnums ${generatorIndex} generatorEnum)

  set(clockNames auxr-t1x12 auxr-t2x12 auxr-brtx12 ckcon-t1m)
  set(clockEnums AuxrT1x12 AuxrT2x12 AuxrBrtx12 CkconT1M)
  if(value_clock STREQUAL "fixed")
    set(clockEnum Fixed)
    set(clockFast false)
  elseif(value_clock MATCHES "^([a-z0-9-]+) (set|clear)$")
    list(FIND clockNames "${CMAKE_MATCH_1}" clockIndex)
    if(clockIndex LESS 0)
      message(FATAL_ERROR "${where}: clock bit '${CMAKE_MATCH_1}' is not one of ${clockNames}")
    endif()
    list(GET clockEnums ${clockIndex} clockEnum)
    if(CMAKE_MATCH_2 STREQUAL "set")
      set(clockFast true)
    else()
      set(clockFast false)
    endif()
  else()
    message(FATAL_ERROR "${where}: clock '${value_clock}' is not 'fixed' or '<bit> set|clear'")
  endif()

  if(NOT value_clocks-per-cycle MATCHES "^(1|6|12)$")
    message(FATAL_ERROR "${where}: clocks-per-cycle must be 1, 6 or 12")
  endif()
  if(NOT value_reload-bits MATCHES "^(8|16)$")
    message(FATAL_ERROR "${where}: reload-bits must be 8 or 16")
  endif()
  if(NOT value_smod MATCHES "^(yes|no)$")
    message(FATAL_ERROR "${where}: smod must be yes or no")
  endif()
  if(NOT value_divider MATCHES "^[1-9][0-9]*$")
    message(FATAL_ERROR "${where}: divider must be a positive integer")
  endif()

  # The constants the data sheets give for each generator.
  set(p ${value_clocks-per-cycle})
  if(value_generator MATCHES "^(timer1-mode2|stc12-brt)$")
    math(EXPR expected "32 * ${p}")
    set(expectedBits 8)
    set(expectedSmod yes)
  elseif(value_generator MATCHES "^stc15-")
    math(EXPR expected "4 * ${p}")
    set(expectedBits 16)
    set(expectedSmod no)
  else()
    if(p EQUAL 12)
      set(expected 32)
    elseif(p EQUAL 6)
      set(expected 16)
    else()
      message(FATAL_ERROR "${where}: the 8052 Timer 2 runs at 12 or 6 clocks")
    endif()
    set(expectedBits 16)
    set(expectedSmod no)
  endif()
  if(NOT value_divider EQUAL expected)
    message(FATAL_ERROR "${where}: divider ${value_divider} does not fit ${value_generator} at ${p} clocks (${expected})")
  endif()
  if(NOT value_reload-bits EQUAL expectedBits OR NOT value_smod STREQUAL expectedSmod)
    message(FATAL_ERROR "${where}: ${value_generator} has a ${expectedBits}-bit reload and smod = ${expectedSmod}")
  endif()

  string(REPLACE " " ";" registerList "${value_reload-registers}")
  list(LENGTH registerList registerCount)
  math(EXPR expectedRegisters "${value_reload-bits} / 8")
  if(NOT registerCount EQUAL expectedRegisters)
    message(FATAL_ERROR "${where}: a ${value_reload-bits}-bit reload goes into ${expectedRegisters} register(s)")
  endif()

  string(REPLACE " " ";" familyList "${value_families}")
  set(familyItems "")
  foreach(family IN LISTS familyList)
    if(NOT family MATCHES "^[a-z0-9][a-z0-9-]*$")
      message(FATAL_ERROR "${where}: family '${family}' is not lower-case letters, digits and '-'")
    endif()
    string(APPEND familyItems "\"${family}\", ")
  endforeach()
  set(registerItems "")
  foreach(register IN LISTS registerList)
    string(APPEND registerItems "\"${register}\", ")
  endforeach()
  if(value_smod STREQUAL "yes")
    set(smodDoubles true)
  else()
    set(smodDoubles false)
  endif()

  string(APPEND body "    BaudTarget{
        .name = \"${current}\",
        .families = {${familyItems}},
        .chips = R\"tgt(${value_chips})tgt\",
        .source = R\"tgt(${value_source})tgt\",
        .generator = GeneratorKind::${generatorEnum},
        .clockSelect = ClockSelect::${clockEnum},
        .clockFast = ${clockFast},
        .clocksPerCycle = ${p},
        .divider = ${value_divider},
        .reloadBits = ${value_reload-bits},
        .smodDoubles = ${smodDoubles},
        .reloadRegisters = {${registerItems}},
        .registers = R\"tgt(${value_registers})tgt\",
        .formula = R\"tgt(${value_formula})tgt\",
    },
")
  set(body "${body}" PARENT_SCOPE)
endfunction()

set(body "")
foreach(line IN LISTS lines)
  math(EXPR lineNumber "${lineNumber} + 1")
  tesmirol_clean_data_line("${line}" line shown)
  if(line STREQUAL "")
    continue()
  endif()
  set(where "${INPUT}:${lineNumber}")

  if(line MATCHES "^${openMark}target ([^ ]+)${closeMark}$")
    tesmirol_finish_target()
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^[a-z0-9][a-z0-9-]*$")
      message(FATAL_ERROR "${where}: target name '${name}' is not lower-case letters, digits and '-'")
    endif()
    list(FIND names "${name}" seen)
    if(seen GREATER_EQUAL 0)
      message(FATAL_ERROR "${where}: target '${name}' appears a second time")
    endif()
    list(APPEND names "${name}")
    foreach(key IN LISTS requiredKeys)
      unset("value_${key}")
    endforeach()
    set(current "${name}")
    continue()
  endif()
  if(NOT line MATCHES "^([a-z-]+) *= *(.*)$")
    message(FATAL_ERROR "${where}: \"${shown}\" is not '[target NAME]' or 'key = value'")
  endif()
  set(key "${CMAKE_MATCH_1}")
  set(value "${CMAKE_MATCH_2}")
  if(current STREQUAL "")
    message(FATAL_ERROR "${where}: '${key}' stands before the first [target NAME]")
  endif()
  list(FIND requiredKeys "${key}" known)
  if(known LESS 0)
    message(FATAL_ERROR "${where}: unknown key '${key}' (the keys are ${requiredKeys})")
  endif()
  if(DEFINED "value_${key}")
    message(FATAL_ERROR "${where}: '${key}' is given a second time for target ${current}")
  endif()
  if(value STREQUAL "" OR value MATCHES "[\"\\\\${semicolonMark}]" OR value MATCHES "\\)tgt")
    message(FATAL_ERROR "${where}: the value of '${key}' is empty or holds '\"', '\\\\' or ';'")
  endif()
  string(REPLACE "${openMark}" "[" value "${value}")
  string(REPLACE "${closeMark}" "]" value "${value}")
  set("value_${key}" "${value}")
  if(key STREQUAL "families")
    string(REPLACE " " ";" familyList "${value}")
    list(APPEND allFamilies ${familyList})
  endif()
endforeach()
tesmirol_finish_target()

if(names STREQUAL "")
  message(FATAL_ERROR "${INPUT}: the catalogue holds no target")
endif()
foreach(family IN LISTS allFamilies)
  list(FIND names "${family}" clash)
  if(clash GREATER_EQUAL 0)
    message(FATAL_ERROR "${INPUT}: '${family}' is both a target and a family")
  endif()
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated from res/targets.txt; do not edit.
#include \"engine/target_catalogue.h\"

namespace tesmirol {

std::span<const BaudTarget> BaudTargets() {
  static const std::vector<BaudTarget> targets = {
${body}  };
  return targets;
}

}  // namespace tesmirol
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
