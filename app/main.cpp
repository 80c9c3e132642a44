// The process entry: the start-up routine, then the end processing, whose
// result is the exit status. The command line is ignored.

#include <string>

#include "app/platform.h"
#include "app/program.h"
#include "ui/probe.h"

int main() {
  vorlindy::RunProgram();
  const int status = vorlindy::EndProgram();
  vorlindy::Probe("exit", std::to_string(status));
  return status;
}
