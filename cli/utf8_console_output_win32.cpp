#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "cli/utf8_console_output.h"

namespace tesmirol::cli {

// Switches standard output to binary mode and, when it is a console, the
// console to UTF-8.
Utf8ConsoleOutput::Utf8ConsoleOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0) {
    const UINT previous = GetConsoleOutputCP();
    if (previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) != 0) {
      m_previousCodePage = previous;
    }
  }
}

// Gives the console back its code page once everything has been written.
Utf8ConsoleOutput::~Utf8ConsoleOutput() {
  if (m_previousCodePage != 0) {
    std::cout.flush();
    static_cast<void>(std::fflush(stdout));
    SetConsoleOutputCP(m_previousCodePage);
  }
}

}  // namespace tesmirol::cli
