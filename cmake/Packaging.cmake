# Install rules and the release packages, made with cpack from a build tree:
#   win64 build:  Tesmirol-<version>-win64.zip with Tesmirol.EXE,
#                 tesmirol-cli.exe, the README, the licence file and the
#                 browser page (web/, built by the wasm preset)
#   native build: tesmirol-cli_<version>_<arch>.deb, the command-line tool
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME "Tesmirol")
set(CPACK_PACKAGE_VENDOR "Tesmirol project")
set(CPACK_PACKAGE_CONTACT "Tesmirol project")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(licenceFile "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
  # One flat folder, as a Windows user unpacks and runs it.
  install(TARGETS tesmirol-cli RUNTIME DESTINATION .)
  if(TARGET Tesmirol)
    install(TARGETS Tesmirol RUNTIME DESTINATION .)
  endif()
  install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION .)
  install(FILES "${licenceFile}" DESTINATION .)
  # The page comes from the wasm build tree; a zip without it is refused
  # rather than made incomplete.
  set(TESMIROL_WEB_PAGE_DIR "${PROJECT_SOURCE_DIR}/build/wasm/web/page" CACHE PATH
      "The browser page assembled by the wasm preset, carried by the release zip")
  install(CODE "
    if(NOT EXISTS \"${TESMIROL_WEB_PAGE_DIR}/tesmirol-wasm.js\" OR NOT EXISTS \"${TESMIROL_WEB_PAGE_DIR}/tesmirol-page.js\")
      message(FATAL_ERROR \"the release zip carries the page: build it first (cmake --build --preset wasm)\")
    endif()")
  install(DIRECTORY "${TESMIROL_WEB_PAGE_DIR}/" DESTINATION web)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "Tesmirol-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  install(TARGETS tesmirol-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tesmirol-cli")
  install(FILES "${licenceFile}" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tesmirol-cli" RENAME copyright)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_DEBIAN_PACKAGE_NAME "tesmirol-cli")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # libc6, libstdc++6 ... from the binary itself
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "The command-line companion of the Tesmirol dialog: reports, the generated\nSIO_Init code, a build check of the deviation and tables of the presets.")
endif()

include(CPack)
