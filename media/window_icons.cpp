#include "media/window_icons.h"

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/imagbmp.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <optional>

#include "media/assets.h"

namespace vorlindy {
namespace {

std::optional<wxImage> DecodeIco(std::span<const unsigned char> bytes) {
  if (bytes.empty()) return std::nullopt;
  if (wxImage::FindHandler(wxBITMAP_TYPE_ICO) == nullptr) {
    wxImage::AddHandler(new wxICOHandler);  // the toolkit owns its handlers
  }
  // A failed decode is logged as an error, which a GUI program would show in
  // a message box; the fallback icon is the whole answer to it.
  const wxLogNull quiet;
  wxMemoryInputStream in(bytes.data(), bytes.size());
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_ICO) || !image.IsOk()) return std::nullopt;
  return image;
}

wxIcon IconFrom(const wxImage& image) {
  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(image));
  return icon;
}

}  // namespace

wxIconBundle MakeWindowIcons(std::span<const unsigned char> ico_bytes) {
  const std::optional<wxImage> image = DecodeIco(ico_bytes);
  if (!image) return ApplicationIcons();
  wxIconBundle icons;
  icons.AddIcon(IconFrom(*image));
  return icons;
}

wxIconBundle ApplicationIcons() {
  wxIconBundle icons;
  const std::optional<wxImage> image = DecodeIco(WindowIconData());
  if (!image) return icons;
  icons.AddIcon(IconFrom(image->Scale(32, 32, wxIMAGE_QUALITY_BOX_AVERAGE)));
  icons.AddIcon(IconFrom(image->Scale(16, 16, wxIMAGE_QUALITY_BOX_AVERAGE)));
  return icons;
}

}  // namespace vorlindy
