# Header-only libraries and the test frameworks.
#
# CLI11 and nlohmann-json come from Debian's packages. The cross build must not
# see the host's /usr/include, so their header folders are copied into the
# build tree and used from there in both builds.
set(TESMIROL_THIRD_PARTY_INCLUDE "${CMAKE_BINARY_DIR}/third_party/include")
foreach(folder IN ITEMS CLI nlohmann)
  if(NOT EXISTS "/usr/include/${folder}")
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps.sh")
  endif()
  file(COPY "/usr/include/${folder}" DESTINATION "${TESMIROL_THIRD_PARTY_INCLUDE}")
endforeach()

add_library(tesmirol_third_party INTERFACE)
add_library(tesmirol::third_party ALIAS tesmirol_third_party)
target_include_directories(tesmirol_third_party SYSTEM INTERFACE "${TESMIROL_THIRD_PARTY_INCLUDE}")

if(TESMIROL_BUILD_TESTS)
  if(CMAKE_CROSSCOMPILING)
    # GoogleTest built from Debian's sources with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

if(TESMIROL_BUILD_BENCHMARKS AND NOT CMAKE_CROSSCOMPILING)
  find_package(benchmark REQUIRED)
endif()
