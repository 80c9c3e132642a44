#include "media/assets.h"

namespace vorlindy::embedded {
// Defined by the sources that vorlindy_embed generates from media/assets/.
extern const std::span<const unsigned char> window_icon;
extern const std::span<const unsigned char> music_clip;
}  // namespace vorlindy::embedded

namespace vorlindy {

std::span<const unsigned char> WindowIconData() { return embedded::window_icon; }
std::span<const unsigned char> MusicClipData() { return embedded::music_clip; }

}  // namespace vorlindy
