# tesmirol-cli --json for every pair of the preset lists and for the known and
# typed inputs, compared with the exact reference model (doubles bit for bit).
# Native build only: thousands of runs under Wine would take too long, and the
# Windows build's numbers are held to the same model by engine_tests. Under
# the sanitizers the leak check at each of the thousands of exits would double
# the run; the command line's own end-to-end tests keep it.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME cli_matches_reference_model
    COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/reference/baud_reference.py"
            --check-cli "$<TARGET_FILE:tesmirol-cli>")
  set_tests_properties(cli_matches_reference_model PROPERTIES TIMEOUT 600 ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
