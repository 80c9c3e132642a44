// The committed assets: the generator makes them again byte for byte, their
// layouts are exactly the program's, and they hold a usable picture and tune.

#include "media/assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "media/tools/asset_maker.h"

namespace vorlindy::testing {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadCommitted(const std::string& name) {
  std::ifstream in(std::string(VORLINDY_ASSET_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes AsBytes(std::span<const unsigned char> span) { return Bytes(span.begin(), span.end()); }

std::uint32_t U16(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}
std::uint32_t U32(std::span<const unsigned char> b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}
std::string Tag(std::span<const unsigned char> b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(Assets, GeneratorMakesTheCommittedFilesAgain) {
  const assets::IconPixels picture = assets::DrawIconPicture();
  EXPECT_EQ(assets::EncodeIco(picture), ReadCommitted("vorlindy.ico"));
  EXPECT_EQ(assets::EncodePng(picture), ReadCommitted("vorlindy.png"));
  EXPECT_EQ(assets::EncodeWave(assets::SynthesizeTune()), ReadCommitted("music.wav"));
  // And the program carries those very files.
  EXPECT_EQ(AsBytes(WindowIconData()), ReadCommitted("vorlindy.ico"));
  EXPECT_EQ(AsBytes(MusicClipData()), ReadCommitted("music.wav"));
}

TEST(Assets, IconHasOne32By32ImageWithAlphaAndMask) {
  const auto ico = WindowIconData();
  ASSERT_EQ(ico.size(), 4286u);
  EXPECT_EQ(U16(ico, 0), 0u);  // reserved
  EXPECT_EQ(U16(ico, 2), 1u);  // icon
  EXPECT_EQ(U16(ico, 4), 1u);  // one image
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[7], 32);
  EXPECT_EQ(ico[8], 0);  // colour count
  EXPECT_EQ(ico[9], 0);  // reserved
  EXPECT_EQ(U16(ico, 10), 1u);
  EXPECT_EQ(U16(ico, 12), 32u);
  EXPECT_EQ(U32(ico, 14), 4264u);
  EXPECT_EQ(U32(ico, 18), 22u);
  const auto dib = ico.subspan(22);
  EXPECT_EQ(U32(dib, 0), 40u);
  EXPECT_EQ(U32(dib, 4), 32u);
  EXPECT_EQ(U32(dib, 8), 64u);
  EXPECT_EQ(U16(dib, 12), 1u);
  EXPECT_EQ(U16(dib, 14), 32u);
  EXPECT_EQ(U32(dib, 16), 0u);  // uncompressed

  // The mask marks exactly the fully transparent pixels (both bottom-up).
  const auto pixels = dib.subspan(40, 4096);
  const auto mask = dib.subspan(40 + 4096, 128);
  int transparent = 0, opaque = 0, white = 0, blue = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    const unsigned b = pixels[4 * i], g = pixels[4 * i + 1], r = pixels[4 * i + 2];
    const unsigned alpha = pixels[4 * i + 3];
    const bool mask_bit = (mask[i / 8] >> (7 - i % 8)) & 1;
    ASSERT_EQ(mask_bit, alpha == 0) << "pixel " << i;
    transparent += alpha == 0;
    opaque += alpha == 255;
    white += alpha == 255 && r > 240 && g > 240 && b > 240;
    blue += alpha == 255 && b > 150 && r < 100;
  }
  // A round picture: the corners are clear, most of it is solid, and it has
  // light arrows on a blue ground.
  EXPECT_EQ(pixels[3], 0);
  EXPECT_EQ(pixels[4 * 31 + 3], 0);
  EXPECT_GT(transparent, 100);
  EXPECT_GT(opaque, 600);
  EXPECT_GT(white, 100);
  EXPECT_GT(blue, 250);
}

TEST(Assets, MusicClipHasTheExactWaveLayout) {
  const auto wav = MusicClipData();
  ASSERT_EQ(wav.size(), 2'265'820u);
  EXPECT_EQ(Tag(wav, 0), "RIFF");
  EXPECT_EQ(U32(wav, 4), 2'265'812u);
  EXPECT_EQ(Tag(wav, 8), "WAVE");
  EXPECT_EQ(Tag(wav, 12), "fmt ");
  EXPECT_EQ(U32(wav, 16), 16u);
  EXPECT_EQ(U16(wav, 20), 1u);
  EXPECT_EQ(U16(wav, 22), 2u);
  EXPECT_EQ(U32(wav, 24), 44'100u);
  EXPECT_EQ(U32(wav, 28), 176'400u);
  EXPECT_EQ(U16(wav, 32), 4u);
  EXPECT_EQ(U16(wav, 34), 16u);
  EXPECT_EQ(Tag(wav, 36), "data");
  EXPECT_EQ(U32(wav, 40), 2'265'532u);
  EXPECT_EQ(U32(wav, 40) / 4, 566'383u);
  const std::size_t list_at = 44 + 2'265'532;
  EXPECT_EQ(Tag(wav, list_at), "LIST");
  EXPECT_EQ(U32(wav, list_at + 4), 236u);
  EXPECT_EQ(Tag(wav, list_at + 8), "INFO");

  // The INFO list is a run of tags with NUL-terminated printable texts that
  // fills its 232 bytes exactly.
  std::size_t at = list_at + 12;
  int tags = 0;
  while (at < wav.size()) {
    ASSERT_LE(at + 8, wav.size());
    const std::string id = Tag(wav, at);
    EXPECT_EQ(id[0], 'I') << id;
    const std::size_t size = U32(wav, at + 4);
    ASSERT_GE(size, 2u);
    ASSERT_LE(at + 8 + size, wav.size());
    const auto text = wav.subspan(at + 8, size);
    EXPECT_EQ(text.back(), 0) << id;
    EXPECT_TRUE(std::all_of(text.begin(), text.end() - 1, [](unsigned char c) {
      return c >= 0x20 && c < 0x7F;
    })) << id;
    at += 8 + size + size % 2;
    ++tags;
  }
  EXPECT_EQ(at, wav.size());
  EXPECT_GE(tags, 3);
}

TEST(Assets, MusicClipIsAQuietlyStartingAndEndingTuneWithoutClipping) {
  const auto data = MusicClipData().subspan(44, 2'265'532);
  const std::size_t frames = data.size() / 4;
  const auto sample = [&](std::size_t frame, int channel) {
    return static_cast<std::int16_t>(U16(data, 4 * frame + 2 * channel));
  };
  double energy = 0, lag_one = 0;
  int peak = 0, largest_step = 0;
  std::vector<double> second_energy(13, 0.0);
  for (std::size_t f = 0; f < frames; ++f) {
    for (int c = 0; c < 2; ++c) {
      const int s = sample(f, c);
      peak = std::max(peak, std::abs(s));
      energy += double(s) * s;
      second_energy[f / 44100] += double(s) * s;
      if (f > 0) {
        lag_one += double(s) * sample(f - 1, c);
        largest_step = std::max(largest_step, std::abs(s - sample(f - 1, c)));
      }
    }
  }
  // Loud enough to hear, with headroom: no sample at full scale.
  EXPECT_GT(std::sqrt(energy / (2.0 * frames)), 2000.0);
  EXPECT_LT(peak, 32000);
  // Sound in every second up to the final fade, not a blip and then silence.
  for (int s = 0; s < 12; ++s) {
    EXPECT_GT(std::sqrt(second_energy[s] / (2.0 * 44100)), 500.0) << "second " << s;
  }
  // Tones, not noise: neighbouring samples are strongly alike (white noise
  // would give about 0), and no jump between them that would be a click.
  EXPECT_GT(lag_one / energy, 0.9);
  EXPECT_LT(largest_step, 8192);
  // Starts and ends at silence, rising and falling smoothly.
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(sample(0, c), 0);
    EXPECT_EQ(sample(frames - 1, c), 0);
    for (std::size_t f = 0; f < 44; ++f) {  // the first and last millisecond
      EXPECT_LT(std::abs(sample(f, c)), 1000) << "frame " << f;
      EXPECT_LT(std::abs(sample(frames - 1 - f, c)), 50) << "frame from end " << f;
    }
  }
}

}  // namespace
}  // namespace vorlindy::testing
