#include "app/platform.h"

#include <gdk/gdk.h>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string_view>
#include <variant>

#include "media/playback.h"
#include "ui/design_document.h"
#include "ui/design_reader.h"
#include "ui/event_gate.h"
#include "ui/main_window.h"
#include "ui/probe.h"

namespace vorlindy {

namespace {

// What the platform holds for the program, from process start to its end.
struct PlatformState {
  bool toolkit_up = false;  // stands for the component-object system
  std::optional<WindowDesign> main_window_design;
  void (*clean_up)() = nullptr;
  bool loop_entered = false;
  EventGate gate;
  int open_windows = 0;  // the program's windows that exist
};

PlatformState& State() {
  static PlatformState state;
  return state;
}

// Toolkit assertions go to stderr instead of a modal dialog in the event loop.
void PrintAssertion(const wxString& file, int line, const wxString& function,
                    const wxString& condition, const wxString& message) {
  std::fprintf(stderr, "wx assertion: %s:%d %s: %s %s\n", file.utf8_str().data(), line,
               function.utf8_str().data(), condition.utf8_str().data(), message.utf8_str().data());
}

void OnOutOfMemory() { FailFatally("The program has run out of memory."); }

void OnWindowDestroyed() {
  PlatformState& state = State();
  --state.open_windows;
  if (state.open_windows == 0 && state.loop_entered && wxTheApp != nullptr) {
    wxTheApp->ExitMainLoop();  // the quit request, code 0
  }
}

void EndProgramAtExit() { EndProgram(); }

}  // namespace

void InitializePlatform() {
  PlatformState& state = State();
  std::set_new_handler(&OnOutOfMemory);

  // Placement at a screen position needs X11; Wayland sessions serve it through XWayland.
  gdk_set_allowed_backends("x11");
  wxSetAssertHandler(&PrintAssertion);
  wxApp::SetInstance(new wxApp());  // the toolkit owns it and deletes it at its shutdown
  int argc = 1;
  char name[] = "vorlindy";
  char* argv[] = {name, nullptr};
  if (!wxEntryStart(argc, argv)) {
    // Without a display there is nowhere to show the error box.
    std::fputs("Vorlindy: the window system cannot be reached (is DISPLAY set?)\n", stderr);
    std::_Exit(-1);
  }
  state.toolkit_up = true;
  wxTheApp->SetExitOnFrameDelete(false);  // the platform posts the quit request itself
  std::atexit(&EndProgramAtExit);         // the process's final clean-up runs it once more

  const wxString executable = wxStandardPaths::Get().GetExecutablePath();
  const wxString directory = wxFileName(executable).GetPath();
  if (!directory.empty() && wxSetWorkingDirectory(directory)) {
    Probe("cwd", directory.utf8_string());
  }

  const std::string_view document(reinterpret_cast<const char*>(kMainWindowDesign.data()),
                                  kMainWindowDesign.size());
  auto design = ReadWindowDesign(document);
  if (const auto* error = std::get_if<DesignError>(&design)) {
    FailFatally("The window design data cannot be read (" + error->message + ").");
  }
  state.main_window_design = std::get<WindowDesign>(std::move(design));
}

void RegisterCleanUp(void (*routine)()) { State().clean_up = routine; }

void OpenWindow(WindowName) {
  PlatformState& state = State();
  state.gate.Raise();
  std::string error;
  MainWindow* window = MainWindow::Open(*state.main_window_design,
                                        MainWindowHooks{&state.gate, &OnWindowDestroyed}, &error);
  if (window == nullptr) FailFatally("The main window cannot be opened: " + error + ".");
  ++state.open_windows;
  state.gate.Lower();
}

void RunEventLoop() {
  PlatformState& state = State();
  state.loop_entered = true;
  if (state.open_windows == 0) return;
  wxTheApp->OnRun();
}

int EndProgram() {
  PlatformState& state = State();
  state.gate.Raise();  // for good: no handler runs from here on
  state.main_window_design.reset();
  if (void (*routine)() = state.clean_up) {
    state.clean_up = nullptr;
    routine();
  }
  StopClips(true);
  if (state.toolkit_up) {
    state.toolkit_up = false;
    wxEntryCleanup();
  }
  return 0;
}

void FailFatally(const std::string& what) {
  PlatformState& state = State();
  state.gate.Raise();
  if (state.toolkit_up) {
    // The toolkit's generic box draws the error icon, which GTK's own no longer does.
    wxGenericMessageDialog box(nullptr, wxString::FromUTF8(what), "Vorlindy",
                               wxOK | wxICON_ERROR | wxCENTRE);
    box.ShowModal();
  } else {
    std::fprintf(stderr, "Vorlindy: %s\n", what.c_str());
  }
  state.clean_up = nullptr;  // the clean-up routine does not run after a failure
  EndProgram();
  Probe("exit", "-1");
  std::_Exit(-1);
}

}  // namespace vorlindy
