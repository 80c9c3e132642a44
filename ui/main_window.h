#pragma once
// The program's one window, built from its design: the browser pane across the
// top, the address and interval boxes, two labels, Start and Stop, and the two
// timers. It supplies the refresh controller's view and routes the clicks and
// the refresh timer's ticks to the controller's handlers.

#include <wx/frame.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "refresh/refresh_view.h"
#include "ui/event_gate.h"
#include "ui/frame_gtk.h"
#include "ui/window_design.h"

class wxTextCtrl;

namespace vorlindy {

class HtmlViewer;
class TimerControl;

struct MainWindowHooks {
  EventGate* gate = nullptr;           // events pass only while it is open
  std::function<void()> on_destroyed;  // the window and its controls are gone
};

class MainWindow : public wxFrame, public RefreshView {
 public:
  // Builds the window and its controls and shows it; nullptr, with the reason
  // in *error, when a control cannot be created (what was made is destroyed).
  static MainWindow* Open(const WindowDesign& design, MainWindowHooks hooks, std::string* error);
  ~MainWindow() override;

  // RefreshView
  Text ReadText(EditBoxName box) override;
  void SetTimerPeriod(std::int32_t period) override;
  void SetPageAddress(const Text& address) override;

 private:
  MainWindow(const WindowDesign& design, MainWindowHooks hooks);
  void StartMusic();
  bool BuildControls(std::string* error);
  wxWindow* CreateControl(const ControlDesign& control, std::string* error);
  std::function<void()> BoundHandler(const std::string& handler_name, std::string* error);
  void Dispatch(const std::string& handler_name, void (*handler)(RefreshView&));

  void OnMapped();
  void OnSize(wxSizeEvent& event);
  void OnClose(wxCloseEvent& event);
  bool OnKey(const KeyStroke& press);
  std::string FocusedControl() const;
  void FocusControl(const std::string& name);
  void MakeDraggable(wxWindow& window);

  WindowDesign design_;
  MainWindowHooks hooks_;
  wxWindow* edge_ = nullptr;    // fills the frame and draws the sunken edge
  wxWindow* client_ = nullptr;  // the client area inside the edge; parent of the controls
  std::map<std::string, wxWindow*> controls_;  // by design name; owned by client_
  std::map<std::string, std::unique_ptr<TimerControl>> timers_;
  std::vector<std::string> tab_cycle_;
  wxTextCtrl* 编辑框1 = nullptr;
  wxTextCtrl* 编辑框2 = nullptr;
  HtmlViewer* 超文本浏览框1 = nullptr;
  TimerControl* 时钟2 = nullptr;
};

}  // namespace vorlindy
