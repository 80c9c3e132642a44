#include "ui/silent_web_view.h"

#include <webkit2/webkit2.h>
#include <wx/webview.h>

namespace vorlindy {

namespace {

WebKitWebView* NativeOf(wxWebView& web_view) {
  return WEBKIT_WEB_VIEW(web_view.GetNativeBackend());
}

// alert, confirm, prompt and "leave this page?" are answered without a dialog:
// confirm and prompt as cancelled, leaving the page as allowed, so a reload is
// never held up by the page it replaces.
gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer) {
  if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
    webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
  }
  return TRUE;
}

gboolean OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
  webkit_permission_request_deny(request);
  return TRUE;
}

gboolean OnAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer) {
  webkit_authentication_request_cancel(request);
  return TRUE;
}

gboolean OnFileChooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer) {
  webkit_file_chooser_request_cancel(request);
  return TRUE;
}

gboolean OnPrint(WebKitWebView*, WebKitPrintOperation*, gpointer) { return TRUE; }

}  // namespace

void MakeSilent(wxWebView& web_view) {
  WebKitWebView* native = NativeOf(web_view);
  g_signal_connect(native, "script-dialog", G_CALLBACK(OnScriptDialog), nullptr);
  g_signal_connect(native, "permission-request", G_CALLBACK(OnPermissionRequest), nullptr);
  g_signal_connect(native, "authenticate", G_CALLBACK(OnAuthenticate), nullptr);
  g_signal_connect(native, "run-file-chooser", G_CALLBACK(OnFileChooser), nullptr);
  g_signal_connect(native, "print", G_CALLBACK(OnPrint), nullptr);
}

void FocusPage(wxWebView& web_view) { gtk_widget_grab_focus(GTK_WIDGET(NativeOf(web_view))); }

bool PageHasFocus(wxWebView& web_view) {
  return gtk_widget_is_focus(GTK_WIDGET(NativeOf(web_view))) != FALSE;
}

}  // namespace vorlindy
