#pragma once
// Standard output that carries the program's UTF-8 bytes unchanged.

namespace tesmirol::cli {

// While it lives, standard output passes bytes through as written: on Windows
// it is switched to binary mode (the generated code's CRLF must not become
// CR CR LF) and a console shows UTF-8; the console's code page is restored at
// the end. Elsewhere there is nothing to do.
class Utf8ConsoleOutput {
 public:
  Utf8ConsoleOutput();
  ~Utf8ConsoleOutput();  // NOLINT(performance-trivially-destructible): restores the console on Windows
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput(Utf8ConsoleOutput&&) = delete;
  Utf8ConsoleOutput& operator=(Utf8ConsoleOutput&&) = delete;

 private:
  [[maybe_unused]] unsigned int m_previousCodePage = 0;  // console output code page to restore (Windows); 0 for none
};

}  // namespace tesmirol::cli
