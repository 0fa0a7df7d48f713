// The entry point of Tesmirol.EXE: hands control to the application object.

#include <windows.h>

#include "ui/serial_init_app.h"

namespace {

// The one application object, constructed before start-up.
tesmirol::CSerialInitApp theApp;

}  // namespace

// Runs the application; the exit code carries no meaning.
int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  return theApp.Run();
}
