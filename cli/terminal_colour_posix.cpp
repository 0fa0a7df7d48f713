#include <unistd.h>

#include <cstdlib>

#include "cli/terminal_colour.h"

namespace tesmirol::cli {

bool StandardOutputTakesColour() {
  const char* noColour = std::getenv("NO_COLOR");  // NOLINT(concurrency-mt-unsafe): read once, before any thread
  if (noColour != nullptr && *noColour != '\0') {
    return false;
  }
  return isatty(STDOUT_FILENO) != 0;
}

}  // namespace tesmirol::cli
