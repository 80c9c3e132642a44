#pragma once
// A custom-drawn label: its background colour over its whole area and its text,
// drawn transparently in its text colour on one line, flush left, centred in
// the label's height and cut at the label's edge. It never takes the focus.

#include <wx/window.h>

namespace vorlindy {

class LabelControl : public wxWindow {
 public:
  // Created hidden; the window shows it once every control exists.
  LabelControl(wxWindow* parent, const wxRect& rect, const wxString& text,
               const wxColour& text_colour, const wxColour& background);

  bool AcceptsFocus() const override { return false; }
  bool AcceptsFocusFromKeyboard() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);

  wxString text_;
  wxColour text_colour_;
};

}  // namespace vorlindy
