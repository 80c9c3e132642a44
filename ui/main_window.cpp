#include "ui/main_window.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "media/assets.h"
#include "media/playback.h"
#include "media/window_icons.h"
#include "refresh/refresh_controller.h"
#include "ui/code_page.h"
#include "ui/html_viewer.h"
#include "ui/label_control.h"
#include "ui/probe.h"
#include "ui/tab_cycle.h"
#include "ui/timer_control.h"

namespace vorlindy {

namespace {

wxColour ToWx(const Colour& c) { return wxColour(c.red, c.green, c.blue); }
wxRect ToWx(const Rect& r) { return wxRect(r.left, r.top, r.width, r.height); }

// The handlers a design may bind, by name.
using Handler = void (*)(RefreshView&);
const std::map<std::string, Handler>& KnownHandlers() {
  static const std::map<std::string, Handler> handlers = {
      {"OnStartClicked", &OnStartClicked},
      {"OnStopClicked", &OnStopClicked},
      {"OnRefreshTick", &OnRefreshTick},
  };
  return handlers;
}

// The interval box takes only digits and '-' from the keyboard; control
// characters (Backspace, the Ctrl shortcuts) pass, so pasting is not filtered.
void OnDigitEntryChar(wxKeyEvent& event) {
  const wxChar c = event.GetUnicodeKey();
  if (c == WXK_NONE || c < 32 || event.ControlDown() || event.AltDown() || (c >= '0' && c <= '9') ||
      c == '-') {
    event.Skip();
  }
}

// The sunken 3-D edge around the client area: two pixels, shadow above and to
// the left, light below and to the right.
constexpr int kEdgeWidth = 2;

wxSize ClientInsideEdge(const wxSize& size) {
  return wxSize(std::max(0, size.x - 2 * kEdgeWidth), std::max(0, size.y - 2 * kEdgeWidth));
}

void PaintSunkenEdge(wxDC& dc, const wxSize& size) {
  const int w = size.x;
  const int h = size.y;
  const auto line = [&dc](const wxColour& colour, int x1, int y1, int x2, int y2) {
    dc.SetPen(wxPen(colour));
    dc.DrawLine(x1, y1, x2, y2);
  };
  line(wxColour(160, 160, 160), 0, 0, w - 1, 0);  // outer shadow
  line(wxColour(160, 160, 160), 0, 0, 0, h - 1);
  line(wxColour(255, 255, 255), 0, h - 1, w, h - 1);  // outer light
  line(wxColour(255, 255, 255), w - 1, 0, w - 1, h);
  line(wxColour(105, 105, 105), 1, 1, w - 2, 1);  // inner shadow
  line(wxColour(105, 105, 105), 1, 1, 1, h - 2);
  line(wxColour(227, 227, 227), 1, h - 2, w - 1, h - 2);  // inner light
  line(wxColour(227, 227, 227), w - 2, 1, w - 2, h - 1);
}

}  // namespace

MainWindow::MainWindow(const WindowDesign& design, MainWindowHooks hooks)
    : design_(design), hooks_(std::move(hooks)) {}

MainWindow* MainWindow::Open(const WindowDesign& design, MainWindowHooks hooks,
                             std::string* error) {
  auto* window = new MainWindow(design, std::move(hooks));
  // The frame may be resized by nobody but the program: the window-manager hints
  // below take the resize function away while keeping maximize, which GTK would
  // refuse for a frame without a resize border.
  long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxCLIP_CHILDREN;
  if (design.maximize_box) style |= wxMAXIMIZE_BOX;
  if (design.minimize_box) style |= wxMINIMIZE_BOX;
  const wxRect rect = ToWx(design.rect);
  if (!window->Create(nullptr, wxID_ANY, wxString::FromUTF8(design.title), rect.GetPosition(),
                      rect.GetSize(), style)) {
    delete window;
    *error = "the main window cannot be created";
    return nullptr;
  }
  Probe("window-created");
  window->SetSize(rect);
  window->SetIcons(MakeWindowIcons(WindowIconData()));
  window->StartMusic();
  SetFrameHints(*window, FrameHints{design.maximize_box, design.minimize_box, true});

  if (!window->BuildControls(error)) {
    window->hooks_.on_destroyed = nullptr;  // the window never existed for the program
    window->Destroy();
    return nullptr;
  }
  window->Show();
  // The focus starts in the first control of the tab cycle, caret at the start.
  if (!window->tab_cycle_.empty()) {
    window->FocusControl(window->tab_cycle_.front());
    if (auto* box = dynamic_cast<wxTextCtrl*>(window->controls_[window->tab_cycle_.front()])) {
      box->SetInsertionPoint(0);
    }
  }
  return window;
}

MainWindow::~MainWindow() {
  timers_.clear();
  StopClips(false);
  if (hooks_.on_destroyed) hooks_.on_destroyed();
}

void MainWindow::StartMusic() {
  // Before any control exists and before the window is shown.
  if (design_.music == MusicMode::Off) return;
  const std::span<const unsigned char> clip = MusicClipData();
  if (clip.empty()) return;
  PlayClip(clip.data(), clip.size(), design_.music == MusicMode::Loop);
}

bool MainWindow::BuildControls(std::string* error) {
  // The client area: the window's background colour and a sunken edge; the
  // controls are placed relative to its inside.
  edge_ = new wxWindow(this, wxID_ANY, wxPoint(0, 0), GetClientSize(),
                       wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
  edge_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  edge_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
    wxPaintDC dc(edge_);
    PaintSunkenEdge(dc, edge_->GetClientSize());
  });
  client_ =
      new wxWindow(edge_, wxID_ANY, wxPoint(kEdgeWidth, kEdgeWidth),
                   ClientInsideEdge(GetClientSize()), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
  client_->SetBackgroundColour(ToWx(design_.background));
  Bind(wxEVT_SIZE, &MainWindow::OnSize, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainWindow::OnClose, this);
  if (design_.drag_by_client_area) MakeDraggable(*client_);

  // Created hidden, in reverse design order: the refresh timer, first in the
  // design, comes last and starts counting when everything else exists.
  for (auto it = design_.controls.rbegin(); it != design_.controls.rend(); ++it) {
    wxWindow* made = CreateControl(*it, error);
    if (!error->empty()) return false;
    if (made != nullptr) controls_[it->name] = made;
  }

  const auto need = [&](const std::string& name) {
    if (controls_.count(name) || timers_.count(name)) return true;
    *error = "the window design has no control " + name;
    return false;
  };
  if (!need("编辑框1") || !need("编辑框2") || !need("超文本浏览框1") || !need("时钟2"))
    return false;
  编辑框1 = dynamic_cast<wxTextCtrl*>(controls_["编辑框1"]);
  编辑框2 = dynamic_cast<wxTextCtrl*>(controls_["编辑框2"]);
  超文本浏览框1 = dynamic_cast<HtmlViewer*>(controls_["超文本浏览框1"]);
  时钟2 = timers_["时钟2"].get();
  if (!编辑框1 || !编辑框2 || !超文本浏览框1 || !时钟2) {
    *error = "a control of the window design has the wrong kind";
    return false;
  }

  // Stacked in design order, the first on top; then shown.
  for (auto it = design_.controls.rbegin(); it != design_.controls.rend(); ++it) {
    if (auto found = controls_.find(it->name); found != controls_.end()) found->second->Raise();
  }
  for (const ControlDesign& control : design_.controls) {
    if (auto found = controls_.find(control.name); found != controls_.end() && control.shown) {
      found->second->Show();
    }
  }

  for (const auto& [name, control] : controls_) {
    control->Bind(wxEVT_SET_FOCUS, [name = name](wxFocusEvent& event) {
      Probe("focus", name);
      event.Skip();
    });
  }

  tab_cycle_ = TabCycle(design_);
  InstallKeyHook(*this, [this](const KeyStroke& press) { return OnKey(press); });
  OnFrameMapped(*this, [this] { OnMapped(); });
  OnFrameExtentsChanged(*this, [this] {
    if (!IsMaximized()) SizeFrame(*this, ToWx(design_.rect).GetSize());
  });
  return true;
}

wxWindow* MainWindow::CreateControl(const ControlDesign& control, std::string* error) {
  const wxRect rect = ToWx(control.rect);
  const wxString text = wxString::FromUTF8(control.text);
  switch (control.kind) {
    case ControlKind::Timer: {
      std::function<void()> on_tick;
      if (!control.event_handler.empty()) {
        on_tick = BoundHandler(control.event_handler, error);
        if (!error->empty()) return nullptr;
      }
      timers_[control.name] = std::make_unique<TimerControl>(control.period, std::move(on_tick));
      return nullptr;
    }
    case ControlKind::HtmlViewer: {
      const HtmlViewerSettings settings{control.font_size, control.offline, control.silent,
                                        ToCodePage(wxString::FromUTF8(control.address))};
      HtmlViewer* pane = HtmlViewer::Create(client_, rect, settings, error);
      if (pane == nullptr && error->empty()) *error = "the browser pane cannot be created";
      return pane;
    }
    case ControlKind::Label: {
      const wxColour text_colour = control.text_colour ? ToWx(*control.text_colour) : *wxBLACK;
      const wxColour background =
          control.background ? ToWx(*control.background) : ToWx(design_.background);
      auto* label = new LabelControl(client_, rect, text, text_colour, background);
      if (design_.drag_by_client_area) MakeDraggable(*label);
      return label;
    }
    case ControlKind::Button: {
      auto* button = new wxButton();
      button->Hide();
      if (!button->Create(client_, wxID_ANY, text, rect.GetPosition(), rect.GetSize())) {
        delete button;
        *error = "the button " + control.name + " cannot be created";
        return nullptr;
      }
      if (!control.event_handler.empty()) {
        std::function<void()> on_click = BoundHandler(control.event_handler, error);
        if (!error->empty()) return button;
        button->Bind(wxEVT_BUTTON, [on_click](wxCommandEvent&) { on_click(); });
      }
      return button;
    }
    case ControlKind::EditBox: {
      auto* box = new wxTextCtrl();
      box->Hide();
      if (!box->Create(client_, wxID_ANY, text, rect.GetPosition(), rect.GetSize(),
                       wxTE_LEFT | wxBORDER_SUNKEN)) {
        delete box;
        *error = "the edit box " + control.name + " cannot be created";
        return nullptr;
      }
      if (control.text_colour) box->SetForegroundColour(ToWx(*control.text_colour));
      if (control.background) box->SetBackgroundColour(ToWx(*control.background));
      box->SetInsertionPoint(0);
      if (control.input == InputMode::DigitEntry) box->Bind(wxEVT_CHAR, &OnDigitEntryChar);
      return box;
    }
  }
  return nullptr;
}

std::function<void()> MainWindow::BoundHandler(const std::string& handler_name,
                                               std::string* error) {
  const auto found = KnownHandlers().find(handler_name);
  if (found == KnownHandlers().end()) {
    *error = "the window design names an unknown handler " + handler_name;
    return {};
  }
  Handler handler = found->second;
  return [this, handler_name, handler] { Dispatch(handler_name, handler); };
}

void MainWindow::Dispatch(const std::string& handler_name, Handler handler) {
  // Events raised while the window is built, or after the end processing has
  // begun, reach no handler and are not kept.
  if (hooks_.gate != nullptr && !hooks_.gate->IsOpen()) return;
  Probe("handler", handler_name);
  handler(*this);
}

Text MainWindow::ReadText(EditBoxName box) {
  const wxTextCtrl* control = box == EditBoxName::编辑框1 ? 编辑框1 : 编辑框2;
  const wxString value = control->GetValue();
  if (value.empty()) return std::nullopt;
  return ToCodePage(value);
}

void MainWindow::SetTimerPeriod(std::int32_t period) {
  Probe("period", std::to_string(period));
  时钟2->SetPeriod(period);
}

void MainWindow::SetPageAddress(const Text& address) { 超文本浏览框1->SetAddress(address); }

void MainWindow::OnMapped() {
  // The window manager may have placed the frame elsewhere and framed it with
  // extents the toolkit did not know yet: put the outer rectangle back.
  if (!IsMaximized()) PlaceFrame(*this, ToWx(design_.rect));
  Probe("window-shown");
}

void MainWindow::OnSize(wxSizeEvent& event) {
  // The controls keep their places; the client area follows the frame, so a
  // maximized window shows the background colour around them.
  if (edge_ != nullptr) {
    edge_->SetSize(GetClientSize());
    client_->SetSize(ClientInsideEdge(GetClientSize()));
  }
  // The frame has a fixed size: a border dragged by way of the window manager
  // springs back once the drag is over.
  if (IsShown() && !IsMaximized()) {
    const FrameExtents e = ReadFrameExtents(*this);
    const wxSize designed(design_.rect.width - e.left - e.right,
                          design_.rect.height - e.top - e.bottom);
    if (GetClientSize() != designed) {
      CallAfter([this] {
        if (!IsMaximized()) SizeFrame(*this, ToWx(design_.rect).GetSize());
      });
    }
  }
  event.Skip();
}

void MainWindow::OnClose(wxCloseEvent&) {
  // A close is never refused. The timers stop at once, not when the toolkit
  // gets round to deleting the frame.
  timers_.clear();
  时钟2 = nullptr;
  StopClips(false);  // the sound is cut off with the window
  Destroy();
}

bool MainWindow::OnKey(const KeyStroke& press) {
  if (press.control || press.alt) return false;
  const bool tab = press.key == HookKey::Tab;
  const bool enter = press.key == HookKey::Enter && !press.shift && design_.enter_moves_focus;
  if (!tab && !enter) return false;
  const std::string focused = FocusedControl();
  if (!focused.empty()) FocusControl(NextInCycle(tab_cycle_, focused, !(tab && press.shift)));
  return true;  // consumed even when the focus cannot move
}

std::string MainWindow::FocusedControl() const {
  // The focused window itself, or its parent: two levels, no more.
  const wxWindow* focus = wxWindow::FindFocus();
  for (int level = 0; level < 2 && focus != nullptr; ++level, focus = focus->GetParent()) {
    for (const auto& [name, control] : controls_) {
      if (control == focus) return name;
    }
  }
  if (超文本浏览框1 != nullptr && 超文本浏览框1->PageHasFocus()) return "超文本浏览框1";
  return {};
}

void MainWindow::FocusControl(const std::string& name) {
  const auto found = controls_.find(name);
  if (found == controls_.end()) return;
  found->second->SetFocus();
}

void MainWindow::MakeDraggable(wxWindow& window) {
  window.Bind(wxEVT_LEFT_DOWN, [this, &window](wxMouseEvent& event) {
    BeginWindowDrag(*this, window.ClientToScreen(event.GetPosition()));
    if (&window == client_) event.Skip();  // the background press still reaches the window
  });
}

}  // namespace vorlindy
