#include <windows.h>

#include <cstdlib>

#include "cli/terminal_colour.h"

namespace tesmirol::cli {

bool StandardOutputTakesColour() {
  const char* noColour = std::getenv("NO_COLOR");  // NOLINT(concurrency-mt-unsafe): read once, before any thread
  if (noColour != nullptr && *noColour != '\0') {
    return false;
  }
  // A pipe or a file has no console mode; a console that cannot interpret the
  // sequences refuses the flag.
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode) == 0) {
    return false;
  }
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace tesmirol::cli
