#pragma once
// The program's two assets, compiled into the executable: the window icon
// (an ICO with one 32x32, 32-bit image) and the background music clip (a
// RIFF/WAVE file, 16-bit stereo PCM at 44,100 Hz, 12.843 s).

#include <span>

namespace vorlindy {

std::span<const unsigned char> WindowIconData();
std::span<const unsigned char> MusicClipData();

}  // namespace vorlindy
