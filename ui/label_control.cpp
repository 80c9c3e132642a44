#include "ui/label_control.h"

#include <wx/dcclient.h>

namespace vorlindy {

LabelControl::LabelControl(wxWindow* parent, const wxRect& rect, const wxString& text,
                           const wxColour& text_colour, const wxColour& background)
    : text_(text), text_colour_(text_colour) {
  Hide();
  Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(),
         wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(background);
  SetForegroundColour(text_colour);
  Bind(wxEVT_PAINT, &LabelControl::OnPaint, this);
}

void LabelControl::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  dc.SetBrush(wxBrush(GetBackgroundColour()));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawRectangle(0, 0, size.x, size.y);

  dc.SetFont(GetFont());
  dc.SetTextForeground(text_colour_);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxSize extent = dc.GetTextExtent(text_);
  wxDCClipper clip(dc, 0, 0, size.x, size.y);
  dc.DrawText(text_, 0, (size.y - extent.y) / 2);
}

}  // namespace vorlindy
