#pragma once
// The program's start-up routine and its initialisation and clean-up steps.

namespace vorlindy {

// Brings the platform up, opens the main window and runs the event loop until
// the window is closed. Returns 0.
int RunProgram();

// The program keeps no global state, so both do nothing; they exist so that the
// order of start-up and shutdown is fixed in one place.
void InitializeProgram();
void CleanUpProgram();

}  // namespace vorlindy
