#pragma once
// What the web-view's own user interface would otherwise put in front of the
// user. A silent pane answers every page dialog, permission or sign-in request
// itself, so nothing a page does can block the reloading.

class wxWebView;

namespace vorlindy {

void MakeSilent(wxWebView& web_view);

// Gives the keyboard focus to the page itself, not to the widget around it.
void FocusPage(wxWebView& web_view);

// Whether the page itself is the focus widget of its window.
bool PageHasFocus(wxWebView& web_view);

}  // namespace vorlindy
