#pragma once
// The main window's icons, made with the toolkit from ICO bytes.

#include <wx/iconbndl.h>

#include <span>

namespace vorlindy {

// The icons for the window's title bar, task bar and switcher. From decodable
// ICO bytes: the file's image at its own size (32x32), which serves as both
// the large and the small icon (the toolkit draws it smaller where it needs
// to; a bundle keeps one icon per size). From anything else:
// ApplicationIcons(). Reports nothing either way.
wxIconBundle MakeWindowIcons(std::span<const unsigned char> ico_bytes);

// The program's own icon, the embedded window icon, as a 32x32 large and a
// 16x16 small icon.
wxIconBundle ApplicationIcons();

}  // namespace vorlindy
