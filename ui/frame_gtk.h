#pragma once
// What GTK does not give a wx frame by itself: the window-manager hints of a
// fixed-size frame that can still be maximized, the designed outer rectangle
// re-applied once the window manager has framed the window, and a key hook
// that sees every key press before the focused widget, the page included.

#include <wx/gdicmn.h>

#include <functional>

class wxTopLevelWindow;

namespace vorlindy {

struct FrameHints {
  bool maximize = false;
  bool minimize = false;
  bool close = true;
};

// Sets the frame's move/maximize/close functions and decorations; call before
// the frame is shown.
void SetFrameHints(wxTopLevelWindow& frame, const FrameHints& hints);

// Puts the frame's outer rectangle, window-manager frame included, at rect.
void PlaceFrame(wxTopLevelWindow& frame, const wxRect& rect);
// Gives the frame the outer size, window-manager frame included, where it is.
void SizeFrame(wxTopLevelWindow& frame, const wxSize& size);

// Calls on_change each time the window manager reports new frame extents,
// which it may do only after the window is mapped.
void OnFrameExtentsChanged(wxTopLevelWindow& frame, std::function<void()> on_change);

// Calls on_mapped each time the frame is mapped on screen.
void OnFrameMapped(wxTopLevelWindow& frame, std::function<void()> on_mapped);

// The frame extents the window manager reports, zero where it reports none.
struct FrameExtents {
  int left = 0, right = 0, top = 0, bottom = 0;
};
FrameExtents ReadFrameExtents(wxTopLevelWindow& frame);

enum class HookKey { Tab, Enter, Other };
struct KeyStroke {
  HookKey key = HookKey::Other;
  bool shift = false;
  bool control = false;
  bool alt = false;
};
// The handler returns true to consume the key, so the focused widget never sees it.
void InstallKeyHook(wxTopLevelWindow& frame, std::function<bool(const KeyStroke&)> handler);

// Starts moving the frame as a press on its title bar would, for as long as the
// left button is held; screen_position is where the button went down.
void BeginWindowDrag(wxTopLevelWindow& frame, const wxPoint& screen_position);

}  // namespace vorlindy
