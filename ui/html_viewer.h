#pragma once
// The browser pane: a child window that embeds the web-view and lets it fill
// the pane. Every write of the address is a new navigation, also when the
// address is the one already shown: that is what reloads the page.

#include <wx/window.h>

#include <memory>
#include <string>

#include "refresh/refresh_view.h"
#include "ui/window_design.h"

class wxWebView;

namespace vorlindy {

struct HtmlViewerSettings {
  int font_size = 2;  // 0..4: smallest, smaller, medium, larger, largest
  bool offline = false;
  bool silent = false;
  std::string address;  // in the program's code page
};

class HtmlViewer : public wxWindow {
 public:
  // Creates the pane and its web-view hidden at the rectangle; nullptr, with
  // the reason in *error, when the web-view cannot be had. The parent owns it.
  static HtmlViewer* Create(wxWindow* parent, const wxRect& rect,
                            const HtmlViewerSettings& settings, std::string* error);

  // The pane's address (地址): copies the text and starts a navigation.
  void SetAddress(const Text& address);
  const std::string& Address() const { return address_; }

  // Whether the keyboard focus is in the page, which the toolkit does not
  // always report as a focused window of its own.
  bool PageHasFocus() const;

 private:
  HtmlViewer() = default;
  void ApplySettings(const HtmlViewerSettings& settings);
  void Navigate();

  wxWebView* web_view_ = nullptr;  // a child of the pane, owned by it
  std::string address_;
};

}  // namespace vorlindy
