#pragma once
// What the program needs of its GUI platform, realised on wxWidgets/GTK: the
// toolkit brought up on the GUI thread first and shut down last, the working
// directory, the design data, the clean-up slot, the event suppression, the
// event loop and its quit request, and the fatal-failure path.

#include <string>

namespace vorlindy {

enum class WindowName { MainWindow };

// Brings the toolkit up, makes the executable's directory the working
// directory and reads the design data; a failure is fatal and does not return.
void InitializePlatform();

// Fills the clean-up slot, replacing what it held; EndProgram runs it once.
void RegisterCleanUp(void (*routine)());

// Builds the window with all its controls, events held back meanwhile, and
// shows it; a failure is fatal and does not return.
void OpenWindow(WindowName window);

// Dispatches events until the quit request, which comes when the last window
// of the program has been destroyed. Returns at once when there is none.
void RunEventLoop();

// The end processing: no handler runs any more, the clean-up routine runs
// once, music still playing is stopped and waited for, the toolkit is shut
// down. Yields the exit status, 0. Running it again changes nothing.
int EndProgram();

// Shows an error box naming the failure, ends without the clean-up routine,
// and exits with status -1.
[[noreturn]] void FailFatally(const std::string& what);

}  // namespace vorlindy
