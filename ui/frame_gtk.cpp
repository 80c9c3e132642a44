#include "ui/frame_gtk.h"

#include <gdk/gdk.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <memory>

namespace vorlindy {

namespace {

GtkWidget* WidgetOf(wxTopLevelWindow& frame) { return GTK_WIDGET(frame.GetHandle()); }

void ApplyHints(GdkWindow* window, const FrameHints& hints) {
  // Listing functions without GDK_FUNC_ALL grants exactly those. Some window
  // managers (openbox) maximize only a window they may resize, so resizing is
  // granted but no resize handles are drawn; the window itself returns to its
  // designed size whenever it is not maximized.
  int functions = GDK_FUNC_MOVE | GDK_FUNC_RESIZE;
  int decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU;
  if (hints.maximize) {
    functions |= GDK_FUNC_MAXIMIZE;
    decorations |= GDK_DECOR_MAXIMIZE;
  }
  if (hints.minimize) {
    functions |= GDK_FUNC_MINIMIZE;
    decorations |= GDK_DECOR_MINIMIZE;
  }
  if (hints.close) functions |= GDK_FUNC_CLOSE;
  gdk_window_set_functions(window, static_cast<GdkWMFunction>(functions));
  gdk_window_set_decorations(window, static_cast<GdkWMDecoration>(decorations));
}

struct GFreeDeleter {
  void operator()(guchar* p) const { g_free(p); }
};

// Signal closures own their data through GClosureNotify.
template <typename T>
void DeleteData(gpointer data, GClosure*) {
  delete static_cast<T*>(data);
}

}  // namespace

void SetFrameHints(wxTopLevelWindow& frame, const FrameHints& hints) {
  GtkWidget* widget = WidgetOf(frame);
  if (GdkWindow* window = gtk_widget_get_window(widget)) ApplyHints(window, hints);
  // wx sets its own hints when the frame is realized; ours must come after.
  g_signal_connect_data(widget, "realize", G_CALLBACK(+[](GtkWidget* w, gpointer data) {
                          ApplyHints(gtk_widget_get_window(w), *static_cast<FrameHints*>(data));
                        }),
                        new FrameHints(hints), &DeleteData<FrameHints>, G_CONNECT_AFTER);
}

void OnFrameMapped(wxTopLevelWindow& frame, std::function<void()> on_mapped) {
  using Callback = std::function<void()>;
  g_signal_connect_data(WidgetOf(frame), "map-event",
                        G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                          (*static_cast<Callback*>(data))();
                          return FALSE;
                        }),
                        new Callback(std::move(on_mapped)), &DeleteData<Callback>,
                        GConnectFlags(0));
}

FrameExtents ReadFrameExtents(wxTopLevelWindow& frame) {
  FrameExtents extents;
  GdkWindow* window = gtk_widget_get_window(WidgetOf(frame));
  if (window == nullptr || !GDK_IS_X11_WINDOW(window)) return extents;
  GdkAtom type = nullptr;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  if (gdk_property_get(window, gdk_atom_intern_static_string("_NET_FRAME_EXTENTS"),
                       gdk_atom_intern_static_string("CARDINAL"), 0, 4 * 4, FALSE, &type, &format,
                       &length, &data) &&
      data != nullptr) {
    const std::unique_ptr<guchar, GFreeDeleter> owned(data);
    // 32-bit X properties arrive as longs.
    if (format == 32 && length >= static_cast<gint>(4 * sizeof(long))) {
      const long* values = reinterpret_cast<const long*>(data);
      extents = FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[1]),
                             static_cast<int>(values[2]), static_cast<int>(values[3])};
    }
  }
  return extents;
}

void SizeFrame(wxTopLevelWindow& frame, const wxSize& size) {
  // GTK sizes the window inside the manager's frame.
  const FrameExtents extents = ReadFrameExtents(frame);
  gtk_window_resize(GTK_WINDOW(WidgetOf(frame)), std::max(1, size.x - extents.left - extents.right),
                    std::max(1, size.y - extents.top - extents.bottom));
}

void PlaceFrame(wxTopLevelWindow& frame, const wxRect& rect) {
  SizeFrame(frame, rect.GetSize());
  // With north-west gravity this moves the frame's outer corner.
  gtk_window_move(GTK_WINDOW(WidgetOf(frame)), rect.x, rect.y);
}

void OnFrameExtentsChanged(wxTopLevelWindow& frame, std::function<void()> on_change) {
  using Callback = std::function<void()>;
  GtkWidget* widget = WidgetOf(frame);
  gtk_widget_add_events(widget, GDK_PROPERTY_CHANGE_MASK);
  g_signal_connect_data(
      widget, "property-notify-event",
      G_CALLBACK(+[](GtkWidget*, GdkEventProperty* event, gpointer data) -> gboolean {
        if (event->atom == gdk_atom_intern_static_string("_NET_FRAME_EXTENTS")) {
          (*static_cast<Callback*>(data))();
        }
        return FALSE;
      }),
      new Callback(std::move(on_change)), &DeleteData<Callback>, GConnectFlags(0));
}

void InstallKeyHook(wxTopLevelWindow& frame, std::function<bool(const KeyStroke&)> handler) {
  using Handler = std::function<bool(const KeyStroke&)>;
  // "event" on the top-level window runs before GTK hands the key to the
  // focused widget, the web page included.
  g_signal_connect_data(WidgetOf(frame), "event",
                        G_CALLBACK(+[](GtkWidget*, GdkEvent* event, gpointer data) -> gboolean {
                          if (event->type != GDK_KEY_PRESS) return FALSE;
                          const GdkEventKey& key = event->key;
                          KeyStroke press;
                          switch (key.keyval) {
                            case GDK_KEY_Tab:
                            case GDK_KEY_ISO_Left_Tab:
                            case GDK_KEY_KP_Tab:
                              press.key = HookKey::Tab;
                              break;
                            case GDK_KEY_Return:
                            case GDK_KEY_KP_Enter:
                            case GDK_KEY_ISO_Enter:
                              press.key = HookKey::Enter;
                              break;
                            default:
                              press.key = HookKey::Other;
                          }
                          press.shift = (key.state & GDK_SHIFT_MASK) != 0 ||
                                        key.keyval == GDK_KEY_ISO_Left_Tab;
                          press.control = (key.state & GDK_CONTROL_MASK) != 0;
                          press.alt = (key.state & GDK_MOD1_MASK) != 0;
                          return (*static_cast<Handler*>(data))(press) ? TRUE : FALSE;
                        }),
                        new Handler(std::move(handler)), &DeleteData<Handler>, GConnectFlags(0));
}

void BeginWindowDrag(wxTopLevelWindow& frame, const wxPoint& screen_position) {
  gtk_window_begin_move_drag(GTK_WINDOW(WidgetOf(frame)), 1, screen_position.x, screen_position.y,
                             gtk_get_current_event_time());
}

}  // namespace vorlindy
