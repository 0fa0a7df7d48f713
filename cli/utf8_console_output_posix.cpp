#include "cli/utf8_console_output.h"

namespace tesmirol::cli {

// Standard output already passes bytes through unchanged.
Utf8ConsoleOutput::Utf8ConsoleOutput() = default;

// Nothing was changed, so nothing is restored.
Utf8ConsoleOutput::~Utf8ConsoleOutput() = default;

}  // namespace tesmirol::cli
