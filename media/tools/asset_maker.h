#pragma once
// Makes the program's two assets, the window icon and the music clip, from
// nothing but code, so anyone can remake the committed files byte for byte.

#include <array>
#include <cstdint>
#include <vector>

namespace vorlindy::assets {

inline constexpr int kIconSize = 32;

// One straight-alpha RGBA pixel.
struct Rgba {
  std::uint8_t red, green, blue, alpha;
  bool operator==(const Rgba&) const = default;
};

// The icon's picture, rows from the top: two white circling arrows on a blue
// disc, on a transparent background.
using IconPixels = std::array<Rgba, kIconSize * kIconSize>;
IconPixels DrawIconPicture();

// The picture as an ICO file with one 32x32, 32-bit image (4,286 bytes).
std::vector<std::uint8_t> EncodeIco(const IconPixels& pixels);

// The picture as an RGBA PNG, for the desktop's icon theme.
std::vector<std::uint8_t> EncodePng(const IconPixels& pixels);

// The tune: 566,383 interleaved stereo frames of 16-bit samples at 44,100 Hz.
inline constexpr int kClipRate = 44100;
inline constexpr int kClipFrames = 566383;
std::vector<std::int16_t> SynthesizeTune();

// The samples as a RIFF/WAVE file: "fmt ", "data", then a "LIST"/"INFO" chunk
// of text tags (2,265,820 bytes for the tune).
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& stereo_samples);

}  // namespace vorlindy::assets
