#include "ui/html_viewer.h"

#include <wx/webview.h>

#include <algorithm>

#include "ui/code_page.h"
#include "ui/page_address.h"
#include "ui/probe.h"
#include "ui/silent_web_view.h"

namespace vorlindy {

HtmlViewer* HtmlViewer::Create(wxWindow* parent, const wxRect& rect,
                               const HtmlViewerSettings& settings, std::string* error) {
  if (!wxWebView::IsBackendAvailable(wxWebViewBackendDefault)) {
    *error = "no web-view is available for the browser pane";
    return nullptr;
  }
  auto* pane = new HtmlViewer();  // owned by the parent once created
  pane->Hide();
  if (!pane->wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(),
                              wxBORDER_NONE | wxCLIP_CHILDREN | wxFULL_REPAINT_ON_RESIZE)) {
    delete pane;
    *error = "the browser pane's window cannot be created";
    return nullptr;
  }
  pane->SetBackgroundColour(*wxWHITE);

  // The web-view starts on a blank page; it loads nothing from the network
  // until an address is written.
  pane->web_view_ = wxWebView::New(pane, wxID_ANY, wxWebViewDefaultURLStr, wxPoint(0, 0),
                                   pane->GetClientSize(), wxWebViewBackendDefault, wxBORDER_NONE);
  if (pane->web_view_ == nullptr) {
    pane->Destroy();
    *error = "the browser pane's web-view cannot be created";
    return nullptr;
  }

  pane->Bind(wxEVT_SIZE, [pane](wxSizeEvent& event) {
    pane->web_view_->SetSize(pane->GetClientSize());
    event.Skip();
  });
  // The pane hands the keyboard focus on to the page.
  pane->Bind(wxEVT_SET_FOCUS, [pane](wxFocusEvent&) { FocusPage(*pane->web_view_); });

  pane->ApplySettings(settings);
  if (!settings.address.empty()) pane->SetAddress(settings.address);
  return pane;
}

void HtmlViewer::ApplySettings(const HtmlViewerSettings& settings) {
  // The web-view has no offline mode of its own: pages come from the network or
  // its cache by its ordinary policy, which is what "offline off" asks for.
  if (settings.silent) MakeSilent(*web_view_);
  const int level = std::clamp(settings.font_size, 0, 4);
  if (web_view_->CanSetZoomType(wxWEBVIEW_ZOOM_TYPE_TEXT)) {
    web_view_->SetZoomType(wxWEBVIEW_ZOOM_TYPE_TEXT);
  }
  web_view_->SetZoom(static_cast<wxWebViewZoom>(level));
  Probe("zoom", std::to_string(level));
  Probe("silent", settings.silent ? "yes" : "no");
}

bool HtmlViewer::PageHasFocus() const { return vorlindy::PageHasFocus(*web_view_); }

void HtmlViewer::SetAddress(const Text& address) {
  address_ = address.value_or(std::string());
  Navigate();
}

void HtmlViewer::Navigate() {
  const wxString url =
      wxString::FromUTF8(CompletePageAddress(FromCodePage(address_).utf8_string()));
  Probe("navigate", url.utf8_string());
  web_view_->LoadURL(url);
}

}  // namespace vorlindy
