#include "app/program.h"

#include <cfenv>

#include "app/platform.h"
#include "ui/probe.h"

namespace vorlindy {

int RunProgram() {
  InitializePlatform();
  // Every floating-point exception masked, rounding to nearest: no conversion
  // of the interval ever traps.
  std::fesetenv(FE_DFL_ENV);
  InitializeProgram();
  RegisterCleanUp(&CleanUpProgram);
  OpenWindow(WindowName::MainWindow);
  RunEventLoop();
  return 0;
}

void InitializeProgram() {}

void CleanUpProgram() { Probe("cleanup"); }

}  // namespace vorlindy
