# Writes OUTPUT, a C++ source that holds the target catalogue read from INPUT
# (res/targets.txt) as the table behind engine/target_catalogue.h. A CMake
# script, so the cross build needs no program of its own at build time.
#
# Every entry is checked: known keys only, every key given once, names and
# families in lower-case letters, digits and '-', names unique and distinct
# from every family, and the divider consistent with the generator and its
# clock (32 x P for Timer 1 mode 2 and the STC12 BRT, 4 x P for the STC15/8
# 16-bit timers, 32 or 16 for the 8052 Timer 2 at 12 or 6 clocks). A mistake
# stops the build with the file name, the line and what is wrong. The
# optional clock-steps (the system clocks a chip can be set to) must be whole
# hertz from 1 to below 2^40, rising. Every chip family the entries name has
# one [family NAME] record of its memory (iram 128 or 256, xram in bytes, how
# the XRAM is enabled), and every record is named by an entry.
cmake_minimum_required(VERSION 3.25)

set(requiredKeys families uart function timer generator clock clocks-per-cycle divider reload-bits smod
                 reload-registers formula source)
set(optionalKeys clock-steps)
set(allKeys ${requiredKeys} ${optionalKeys})

if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "${INPUT}: target catalogue not found")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/data_file_lines.cmake")

# The chips and register words each entry carries in the JSON listing and
# the generated code's comments: the English table's (TEXTS,
# res/texts/en.txt), which the text tables' generator checks.
file(STRINGS "${TEXTS}" textLines REGEX "^target\\.")
foreach(textLine IN LISTS textLines)
  if(textLine MATCHES "^target\\.([a-z0-9-]+)\\.(chips|registers) = (.*)$")
    set("text_${CMAKE_MATCH_1}_${CMAKE_MATCH_2}" "${CMAKE_MATCH_3}")
  endif()
endforeach()
tesmirol_read_data_lines("${INPUT}" lines)

set(names "")
set(allFamilies "")
set(familyRecords "")
set(current "")
set(currentFamily "")
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
  foreach(field IN ITEMS chips registers)
    if(NOT DEFINED "text_${current}_${field}")
      message(FATAL_ERROR "${where}: ${TEXTS} lacks target.${current}.${field}")
    endif()
  endforeach()

  set(generatorNames timer1-mode2 timer2-rcap stc15-timer2 stc15-timer1-mode0 stc12-brt stc-timer3 stc-timer4
                     n76-timer3 ch55x-sbaud1 silabs-timer1 cc-usart efm8-uart1 nrf-s0rel atmel-brg aduc-t3)
  set(generatorEnums Timer1Mode2 Timer2Rcap Stc15Timer2 Stc15Timer1Mode0 Stc12Brt StcTimer3 StcTimer4
                     N76Timer3 Ch55xSbaud1 SilabsTimer1 CcUsart Efm8Uart1 NrfS0rel AtmelBrg AducT3)
  list(FIND generatorNames "${value_generator}" generatorIndex)
  if(generatorIndex LESS 0)
    message(FATAL_ERROR "${where}: generator '${value_generator}' is not one of ${generatorNames}")
  endif()
  list(GET generatorEnums ${generatorIndex} generatorEnum)

  if(NOT value_uart MATCHES "^UART[0-9]$")
    message(FATAL_ERROR "${where}: uart '${value_uart}' is not UART and one digit")
  endif()
  if(NOT value_function MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "${where}: function '${value_function}' is not a C name")
  endif()
  if(NOT value_timer MATCHES "^(timer[0-4]|brt|brg|sbaud1|usart[0-1]|sbrl1|s0rel)$")
    message(FATAL_ERROR "${where}: timer '${value_timer}' is not timer0 to timer4, brt, brg, sbaud1, usart0, usart1, sbrl1 or s0rel")
  endif()

  # The clock: fixed, one selector bit set or cleared, or a selector with a
  # choice of clocks, one per entry of clocks-per-cycle.
  set(oneBitClocks auxr-t1x12 auxr-t2x12 auxr-brtx12 ckcon-t1m t4t3m-t3x12 t4t3m-t4x12 bdrcon-spd)
  set(clockNames ${oneBitClocks} t3con-t3ps t2mod-t1clk ckcon-sca uxgcr-e sbcon1-bps t3con-div)
  set(clockEnums AuxrT1x12 AuxrT2x12 AuxrBrtx12 CkconT1M T4t3mT3x12 T4t3mT4x12 BdrconSpd T3conT3ps T2modT1Clk CkconSca
                 UxgcrBaudE Sbcon1Bps T3conDiv)
  string(REPLACE " " ";" pList "${value_clocks-per-cycle}")
  list(LENGTH pList pCount)
  foreach(p IN LISTS pList)
    if(NOT p MATCHES "^[1-9][0-9]*$")
      message(FATAL_ERROR "${where}: clocks-per-cycle '${p}' is not a positive integer")
    endif()
  endforeach()
  set(selectList "")
  if(value_clock STREQUAL "fixed")
    set(clockEnum Fixed)
    set(clockFast false)
    set(selectList 0)
    if(NOT pCount EQUAL 1)
      message(FATAL_ERROR "${where}: a fixed clock has one clocks-per-cycle")
    endif()
  elseif(value_clock MATCHES "^([a-z0-9-]+)( (set|clear))?$")
    set(selector "${CMAKE_MATCH_1}")
    set(setOrClear "${CMAKE_MATCH_3}")
    list(FIND clockNames "${selector}" clockIndex)
    if(clockIndex LESS 0)
      message(FATAL_ERROR "${where}: clock selector '${selector}' is not one of ${clockNames}")
    endif()
    list(GET clockEnums ${clockIndex} clockEnum)
    list(FIND oneBitClocks "${selector}" oneBit)
    if(NOT setOrClear STREQUAL "")
      if(oneBit LESS 0 OR NOT pCount EQUAL 1)
        message(FATAL_ERROR "${where}: 'set' or 'clear' goes with a one-bit selector and one clocks-per-cycle")
      endif()
      if(setOrClear STREQUAL "set")
        set(selectList 1)
      else()
        set(selectList 0)
      endif()
    elseif(selector STREQUAL "uxgcr-e")
      # The mantissa/exponent generator runs from the system clock; its
      # choices are the exponents, expanded below.
      if(NOT value_generator STREQUAL "cc-usart" OR NOT value_clocks-per-cycle STREQUAL "1")
        message(FATAL_ERROR "${where}: uxgcr-e goes with generator cc-usart and clocks-per-cycle = 1")
      endif()
      set(selectList 0)
    elseif(oneBit GREATER_EQUAL 0)
      # Two clocks: the bit set gives the quicker one.
      if(NOT pCount EQUAL 2)
        message(FATAL_ERROR "${where}: the one-bit selector ${selector} offers two clocks")
      endif()
      list(GET pList 0 p0)
      list(GET pList 1 p1)
      if(p0 LESS p1)
        set(selectList 1 0)
      else()
        set(selectList 0 1)
      endif()
    else()
      foreach(p IN LISTS pList)
        if(selector MATCHES "^t3con-(t3ps|div)$")
          set(table 1:0 2:1 4:2 8:3 16:4 32:5 64:6 128:7)
        elseif(selector STREQUAL "t2mod-t1clk")
          set(table 1:3 4:1 12:0)
        elseif(selector STREQUAL "sbcon1-bps")
          # SBCON1.BPS (bits 2..0): 000 /12, 001 /4, 010 /48, 011 /1, 100 /8,
          # 101 /16, 110 /24, 111 /32.
          set(table 1:3 4:1 8:4 12:0 16:5 24:6 32:7 48:2)
        else()
          set(table 1:4 4:1 12:0 48:2)
        endif()
        set(found "")
        foreach(pair IN LISTS table)
          if(pair MATCHES "^${p}:([0-9]+)$")
            set(found "${CMAKE_MATCH_1}")
          endif()
        endforeach()
        if(found STREQUAL "")
          message(FATAL_ERROR "${where}: ${selector} offers no clock of ${p} periods per count (${table})")
        endif()
        list(APPEND selectList ${found})
      endforeach()
    endif()
    list(GET selectList 0 firstSelect)
    if(firstSelect EQUAL 1 AND oneBit GREATER_EQUAL 0)
      set(clockFast true)
    else()
      set(clockFast false)
    endif()
  else()
    message(FATAL_ERROR "${where}: clock '${value_clock}' is not 'fixed', '<bit> set|clear' or '<selector>'")
  endif()
  if(NOT value_reload-bits MATCHES "^(8|10|16)$")
    message(FATAL_ERROR "${where}: reload-bits must be 8, 10 or 16")
  endif()
  if(NOT value_smod MATCHES "^(yes|no)$")
    message(FATAL_ERROR "${where}: smod must be yes or no")
  endif()

  # The constants the data sheets give for each generator: the divider is
  # base x P, with P the clocks-per-cycle.
  set(expectedBits 16)
  set(expectedSmod no)
  if(value_generator MATCHES "^(timer1-mode2|stc12-brt|atmel-brg)$")
    set(base 32)
    set(expectedBits 8)
    set(expectedSmod yes)
  elseif(value_generator MATCHES "^(stc15-|stc-timer)")
    set(base 4)
  elseif(value_generator STREQUAL "n76-timer3")
    # UART0 (SMOD doubles) counts 32 timer overflows a bit, UART1 16.
    if(value_smod STREQUAL "yes")
      set(base 32)
      set(expectedSmod yes)
    else()
      set(base 16)
    endif()
  elseif(value_generator STREQUAL "ch55x-sbaud1")
    set(base 32)
    set(expectedBits 8)
    set(expectedSmod yes)
  elseif(value_generator STREQUAL "silabs-timer1")
    set(base 2)
    set(expectedBits 8)
  elseif(value_generator STREQUAL "efm8-uart1")
    # SYSCLK / (2 x prescaler x (65536 - SBRL1)), the prescaler set by SBCON1.BPS.
    set(base 2)
    if(NOT value_clock STREQUAL "sbcon1-bps")
      message(FATAL_ERROR "${where}: efm8-uart1 takes clock = sbcon1-bps")
    endif()
  elseif(value_generator STREQUAL "nrf-s0rel")
    # The nRF24LE1's own generator: 2^SMOD x f / (64 x (1024 - S0REL)),
    # S0REL ten bits across S0RELH (bits 1..0) and S0RELL.
    set(base 64)
    set(expectedBits 10)
    set(expectedSmod yes)
  elseif(value_generator STREQUAL "aduc-t3")
    # The ADuC841/842/843 Timer 3: 4 x fcore / (2^DIV x (64 + T3FD)), the
    # divider 2^DIV (T3CON.DIV) and the count 64 + T3FD.
    set(base 1)
    set(expectedBits 8)
    if(NOT value_clock STREQUAL "t3con-div")
      message(FATAL_ERROR "${where}: aduc-t3 takes clock = t3con-div")
    endif()
  elseif(value_generator STREQUAL "cc-usart")
    # rate = f x (256 + BAUD_M) x 2^BAUD_E / 2^28: one clock choice per
    # exponent, its divider 2^(28 - BAUD_E). The UART's top rate is f / 16
    # (BAUD_E = 16, BAUD_M = 0), so the exponents run from 0 to 16.
    set(expectedBits 8)
    if(NOT value_clock STREQUAL "uxgcr-e" OR NOT value_divider STREQUAL "2^(28 - E)")
      message(FATAL_ERROR "${where}: cc-usart takes clock = uxgcr-e and divider = 2^(28 - E)")
    endif()
    set(pList "")
    set(dividerList "")
    set(selectList "")
    foreach(exponent RANGE 0 16)
      math(EXPR d "1 << (28 - ${exponent})")
      list(APPEND pList 1)
      list(APPEND dividerList ${d})
      list(APPEND selectList ${exponent})
    endforeach()
    set(pCount 17)
    set(base -1)
  else()
    # The 8052's Timer 2: 16 timer clocks a bit at 12 or 6 oscillator periods.
    set(base 0)
    if(NOT pCount EQUAL 1 OR NOT value_clocks-per-cycle MATCHES "^(6|12)$")
      message(FATAL_ERROR "${where}: the 8052 Timer 2 runs at 12 or 6 clocks")
    endif()
  endif()
  if(NOT base EQUAL -1)
    set(dividerList "")
  endif()
  if(base EQUAL -1)
    # The exponent generator's dividers are set above.
  elseif(value_divider MATCHES "^([1-9][0-9]*) x P$")
    if(NOT CMAKE_MATCH_1 EQUAL base)
      message(FATAL_ERROR "${where}: divider ${value_divider} does not fit ${value_generator} (${base} x P)")
    endif()
    foreach(p IN LISTS pList)
      math(EXPR d "${base} * ${p}")
      list(APPEND dividerList ${d})
    endforeach()
  elseif(value_divider MATCHES "^[1-9][0-9]*$" AND pCount EQUAL 1)
    if(base EQUAL 0)
      math(EXPR expected "${value_clocks-per-cycle} * 8 / 3")
    else()
      math(EXPR expected "${base} * ${value_clocks-per-cycle}")
    endif()
    if(NOT value_divider EQUAL expected)
      message(FATAL_ERROR "${where}: divider ${value_divider} does not fit ${value_generator} at ${value_clocks-per-cycle} clocks (${expected})")
    endif()
    set(dividerList ${value_divider})
  else()
    message(FATAL_ERROR "${where}: divider must be a positive integer (one clock) or 'N x P'")
  endif()
  if(NOT value_reload-bits EQUAL expectedBits OR NOT value_smod STREQUAL expectedSmod)
    message(FATAL_ERROR "${where}: ${value_generator} has a ${expectedBits}-bit reload and smod = ${expectedSmod}")
  endif()
  set(clockItems "")
  foreach(index RANGE 0 ${pCount})
    if(index EQUAL pCount)
      break()
    endif()
    list(GET pList ${index} p)
    list(GET dividerList ${index} d)
    list(GET selectList ${index} sel)
    string(APPEND clockItems "ClockChoice{${p}, ${d}, ${sel}}, ")
  endforeach()
  list(GET pList 0 p)
  list(GET dividerList 0 firstDivider)

  string(REPLACE " " ";" registerList "${value_reload-registers}")
  list(LENGTH registerList registerCount)
  math(EXPR expectedRegisters "(${value_reload-bits} + 7) / 8")
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

  # The system clocks the chip can be set to, in hertz, rising.
  set(stepItems "")
  if(DEFINED "value_clock-steps")
    string(REPLACE " " ";" stepList "${value_clock-steps}")
    set(previous 0)
    foreach(step IN LISTS stepList)
      if(NOT step MATCHES "^[1-9][0-9]*$" OR step GREATER_EQUAL 1099511627776)
        message(FATAL_ERROR "${where}: clock step '${step}' is not whole hertz from 1 to below 2^40")
      endif()
      if(NOT step GREATER previous)
        message(FATAL_ERROR "${where}: clock steps must rise (${step} after ${previous})")
      endif()
      set(previous ${step})
      string(APPEND stepItems "${step}ULL, ")
    endforeach()
  endif()

  # The target's clock choices and clock steps go into the arrays every
  # record points into, at their offsets.
  string(APPEND clockTable "${clockItems}")
  string(APPEND stepTable "${stepItems}")
  string(REPLACE ";" " " familyWords "${familyList}")
  string(REPLACE ";" " " registerWords "${registerList}")
  list(LENGTH stepList stepCount)
  if(NOT DEFINED "value_clock-steps")
    set(stepCount 0)
  endif()
  string(APPEND body "    TargetRecord{
        .name = \"${current}\",
        .uart = \"${value_uart}\",
        .function = \"${value_function}\",
        .timer = \"${value_timer}\",
        .families = \"${familyWords}\",
        .chips = R\"tgt(${text_${current}_chips})tgt\",
        .source = R\"tgt(${value_source})tgt\",
        .generator = GeneratorKind::${generatorEnum},
        .clockSelect = ClockSelect::${clockEnum},
        .clockFast = ${clockFast},
        .clocks = std::span(kClocks).subspan(${clockCount}, ${pCount}),
        .reloadBits = ${value_reload-bits},
        .smodDoubles = ${smodDoubles},
        .reloadRegisters = \"${registerWords}\",
        .registers = R\"tgt(${text_${current}_registers})tgt\",
        .formula = R\"tgt(${value_formula})tgt\",
        .clockSteps = std::span(kClockSteps).subspan(${stepOffset}, ${stepCount}),
    },
")
  math(EXPR clockCount "${clockCount} + ${pCount}")
  math(EXPR stepOffset "${stepOffset} + ${stepCount}")
  set(clockTable "${clockTable}" PARENT_SCOPE)
  set(stepTable "${stepTable}" PARENT_SCOPE)
  set(clockCount "${clockCount}" PARENT_SCOPE)
  set(stepOffset "${stepOffset}" PARENT_SCOPE)
  set(body "${body}" PARENT_SCOPE)
endfunction()

# The memory record of one chip family: checked, and appended to `familyBody`.
set(familyKeys iram xram xram-enable source)
set(xramEnableNames none always auxr-extram pmr-dme0)
set(xramEnableEnums None Always AuxrExtram PmrDme0)
function(tesmirol_finish_family)
  if(currentFamily STREQUAL "")
    return()
  endif()
  set(where "${INPUT}: family ${currentFamily}")
  foreach(key IN LISTS familyKeys)
    if(NOT DEFINED "family_${key}")
      message(FATAL_ERROR "${where}: the key '${key}' is missing")
    endif()
  endforeach()
  if(NOT family_iram MATCHES "^(128|256)$")
    message(FATAL_ERROR "${where}: iram must be 128 or 256")
  endif()
  if(NOT family_xram MATCHES "^(0|[1-9][0-9]*)$" OR family_xram GREATER 65536)
    message(FATAL_ERROR "${where}: xram '${family_xram}' is not a number of bytes from 0 to 65536")
  endif()
  list(FIND xramEnableNames "${family_xram-enable}" enableIndex)
  if(enableIndex LESS 0)
    message(FATAL_ERROR "${where}: xram-enable '${family_xram-enable}' is not one of ${xramEnableNames}")
  endif()
  if((family_xram EQUAL 0) AND NOT (family_xram-enable STREQUAL "none"))
    message(FATAL_ERROR "${where}: a family without XRAM has xram-enable = none")
  endif()
  if((family_xram GREATER 0) AND (family_xram-enable STREQUAL "none"))
    message(FATAL_ERROR "${where}: a family with XRAM says how it is enabled (always, auxr-extram, pmr-dme0)")
  endif()
  list(GET xramEnableEnums ${enableIndex} enableEnum)
  string(APPEND familyBody "    ChipFamily{
        .name = \"${currentFamily}\",
        .memory = ChipMemory{.iramBytes = ${family_iram}, .xramBytes = ${family_xram}, .xramEnable = XramEnable::${enableEnum}},
        .source = R\"tgt(${family_source})tgt\",
    },
")
  set(familyBody "${familyBody}" PARENT_SCOPE)
endfunction()

set(body "")
set(familyBody "")
set(clockTable "")
set(stepTable "")
set(clockCount 0)
set(stepOffset 0)
foreach(line IN LISTS lines)
  math(EXPR lineNumber "${lineNumber} + 1")
  tesmirol_clean_data_line("${line}" line shown)
  if(line STREQUAL "")
    continue()
  endif()
  set(where "${INPUT}:${lineNumber}")

  if(line MATCHES "^${openMark}family ([^ ]+)${closeMark}$")
    tesmirol_finish_target()
    tesmirol_finish_family()
    set(current "")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^[a-z0-9][a-z0-9-]*$")
      message(FATAL_ERROR "${where}: family name '${name}' is not lower-case letters, digits and '-'")
    endif()
    list(FIND familyRecords "${name}" seen)
    if(seen GREATER_EQUAL 0)
      message(FATAL_ERROR "${where}: family '${name}' has a second record")
    endif()
    list(APPEND familyRecords "${name}")
    foreach(key IN LISTS familyKeys)
      unset("family_${key}")
    endforeach()
    set(currentFamily "${name}")
    continue()
  endif()
  if(line MATCHES "^${openMark}target ([^ ]+)${closeMark}$")
    tesmirol_finish_target()
    tesmirol_finish_family()
    set(currentFamily "")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^[a-z0-9][a-z0-9-]*$")
      message(FATAL_ERROR "${where}: target name '${name}' is not lower-case letters, digits and '-'")
    endif()
    list(FIND names "${name}" seen)
    if(seen GREATER_EQUAL 0)
      message(FATAL_ERROR "${where}: target '${name}' appears a second time")
    endif()
    list(APPEND names "${name}")
    foreach(key IN LISTS allKeys)
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
  if(NOT currentFamily STREQUAL "")
    tesmirol_take_record_value("${where}" "${key}" "${value}" "family ${currentFamily}" "${familyKeys}" family_ tgt
                               "a family record")
    continue()
  endif()
  if(current STREQUAL "")
    message(FATAL_ERROR "${where}: '${key}' stands before the first [target NAME] or [family NAME]")
  endif()
  tesmirol_take_record_value("${where}" "${key}" "${value}" "target ${current}" "${allKeys}" value_ tgt)
  if(key STREQUAL "families")
    string(REPLACE " " ";" familyList "${value}")
    list(APPEND allFamilies ${familyList})
  endif()
endforeach()
tesmirol_finish_target()
tesmirol_finish_family()

if(names STREQUAL "")
  message(FATAL_ERROR "${INPUT}: the catalogue holds no target")
endif()
foreach(family IN LISTS allFamilies)
  list(FIND names "${family}" clash)
  if(clash GREATER_EQUAL 0)
    message(FATAL_ERROR "${INPUT}: '${family}' is both a target and a family")
  endif()
  if(NOT family IN_LIST familyRecords)
    message(FATAL_ERROR "${INPUT}: family '${family}' has no [family ${family}] record (its memory)")
  endif()
endforeach()
foreach(family IN LISTS familyRecords)
  if(NOT family IN_LIST allFamilies)
    message(FATAL_ERROR "${INPUT}: [family ${family}] is named by no target")
  endif()
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated from res/targets.txt; do not edit.
#include \"engine/target_catalogue.h\"
#include \"engine/target_catalogue_records.h\"

namespace tesmirol {
namespace {

// Every target's clock choices, and the clock steps of those that have
// them (one more, unused, so that the array is never empty).
constexpr ClockChoice kClocks[] = {${clockTable}};
constexpr std::uint64_t kClockSteps[] = {${stepTable}0ULL};

constexpr TargetRecord kTargets[] = {
${body}};

}  // namespace

std::span<const TargetRecord> TargetRecords() noexcept { return kTargets; }

std::span<const ChipFamily> ChipFamilies() {
  static const std::vector<ChipFamily> families = {
${familyBody}  };
  return families;
}

}  // namespace tesmirol
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
