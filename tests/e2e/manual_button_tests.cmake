# End-to-end tests of the manual button. The program runs from folders of
# the tests' own, and a recorder registered for .chm documents in the Wine
# prefix stands in for the help viewer. The tests change that registration
# while they run, so they take turns (RESOURCE_LOCK). Two of them need small
# file systems that with-scratch-volumes.sh mounts; where it cannot, they
# report themselves as skipped.

# Notes each document it is asked to open.
add_executable(open_recorder WIN32 open_recorder/open_recorder.cpp)
target_link_libraries(open_recorder PRIVATE shell32 tesmirol::options)
target_link_options(open_recorder PRIVATE -municode)

get_target_property(compiledManual tesmirol_manual CHM_FILE)

add_executable(manual_button_e2e_tests
  e2e_main.cpp
  manual_button_test.cpp
  chm_association.cpp
  scratch_directory.cpp)
target_link_libraries(manual_button_e2e_tests PRIVATE tesmirol_e2e_driver advapi32 GTest::gtest tesmirol::options)
target_include_directories(manual_button_e2e_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests")
target_compile_definitions(manual_button_e2e_tests PRIVATE
  "TESMIROL_MANUAL_CHM=\"${compiledManual}\""
  "TESMIROL_OPEN_RECORDER=\"$<TARGET_FILE:open_recorder>\"")
add_dependencies(manual_button_e2e_tests Tesmirol open_recorder tesmirol_manual)
set_property(TARGET manual_button_e2e_tests PROPERTY CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/with-scratch-volumes.sh"
  "${PROJECT_SOURCE_DIR}/scripts/with-display.sh"
  "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
gtest_discover_tests(manual_button_e2e_tests
  DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 120
  TEST_PREFIX "e2e."
  NO_PRETTY_VALUES
  PROPERTIES
    LABELS gui
    TIMEOUT 180
    SKIP_RETURN_CODE 77
    RESOURCE_LOCK wine_chm_association
    ENVIRONMENT "TESMIROL_EXE=$<TARGET_FILE:Tesmirol>")
