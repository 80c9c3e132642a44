#pragma once
// The design values of the main window and its controls, as read from the
// window's design document. Standard library only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlindy {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

enum class ControlKind { Timer, HtmlViewer, Label, Button, EditBox };

enum class InputMode { AnyText, DigitEntry };

struct ControlDesign {
  std::string name;
  ControlKind kind = ControlKind::Label;
  int line = 0;  // where the control starts in the document, for messages
  Rect rect;
  std::string text;  // UTF-8
  bool shown = true;
  bool tab_stop = false;
  int tab_key = 0;
  std::optional<Colour> text_colour;
  std::optional<Colour> background;
  InputMode input = InputMode::AnyText;
  std::string event_handler;  // the handler bound to the control's event; empty for none
  // Timer
  std::int32_t period = 0;
  // HtmlViewer
  int font_size = 2;
  bool offline = false;
  bool silent = false;
  std::string address;
};

enum class MusicMode { Loop, Once, Off };

struct WindowDesign {
  std::string title;  // UTF-8
  Rect rect;
  Colour background;
  bool maximize_box = false;
  bool minimize_box = false;
  bool enter_moves_focus = false;
  bool esc_closes = true;
  bool drag_by_client_area = false;
  MusicMode music = MusicMode::Loop;
  std::vector<ControlDesign> controls;  // in design order

  const ControlDesign* Find(const std::string& name) const;
};

}  // namespace vorlindy
