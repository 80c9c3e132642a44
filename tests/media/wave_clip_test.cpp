// Which byte strings the clip reader takes for a playable PCM clip, and what
// it finds in them.

#include "media/wave_clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "media/assets.h"
#include "tests/media/clip_builder.h"

namespace vorlindy::testing {
namespace {

struct Found {
  ClipFormat format;
  std::size_t samples_at, samples_size;  // where the samples are in the file
};

struct ReadCase {
  const char* name;
  Bytes file;
  std::optional<Found> expected;  // nothing: the file is rejected
};

const ClipFormat kStereo16{2, 44100, 16, 4};
const ClipFormat kMono8{1, 8000, 8, 1};

Chunk Mono8() { return {"fmt ", FormatBody(1, 1, 8000, 8, 1)}; }

Bytes Prefix(Bytes file, std::size_t length) {
  file.resize(length);
  return file;
}

std::vector<ReadCase> Cases() {
  const std::span<const unsigned char> music = MusicClipData();
  const Bytes music_file(music.begin(), music.end());
  const Chunk list{"LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 1, 0, 0, 0, 'x'}};
  return {
      {"the_music_clip", music_file, Found{kStereo16, 44, 2'265'532}},
      {"stereo_16_bit", RiffFile({Pcm16Stereo(), {"data", Counting(16)}}),
       Found{kStereo16, 44, 16}},
      {"data_before_fmt", RiffFile({{"data", Counting(16)}, Pcm16Stereo()}),
       Found{kStereo16, 20, 16}},
      {"unknown_odd_chunk_skipped_with_its_pad",
       RiffFile({list, Pcm16Stereo(), {"data", Counting(8)}}),
       Found{kStereo16, 12 + 22 + 24 + 8, 8}},
      {"odd_data_then_pad_then_fmt", RiffFile({{"data", Counting(3)}, Mono8()}),
       Found{kMono8, 20, 3}},
      {"odd_data_last_without_pad", RiffFile({Mono8(), {"data", Counting(5), {}, false}}),
       Found{kMono8, 44, 5}},
      {"mono_8_bit_in_its_own_format", RiffFile({Mono8(), {"data", Counting(4)}}),
       Found{kMono8, 44, 4}},
      {"fmt_with_extension_bytes",
       RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16, 4, 2)}, {"data", Counting(8)}}),
       Found{kStereo16, 46, 8}},
      {"partial_last_frame_left_out", RiffFile({Pcm16Stereo(), {"data", Counting(10)}}),
       Found{kStereo16, 44, 8}},
      {"first_of_two_data_chunks",
       RiffFile({Pcm16Stereo(), {"data", Counting(4)}, {"data", Counting(8)}}),
       Found{kStereo16, 44, 4}},
      {"riff_size_field_wrong_is_ignored",
       [] {
         Bytes f = RiffFile({Pcm16Stereo(), {"data", Counting(8)}});
         f[4] = 4;
         f[5] = f[6] = f[7] = 0;
         return f;
       }(),
       Found{kStereo16, 44, 8}},
      {"music_clip_cut_inside_its_info_list", Prefix(music_file, music_file.size() - 100),
       Found{kStereo16, 44, 2'265'532}},

      {"float_samples", RiffFile({{"fmt ", FormatBody(3, 2, 44100, 32, 8)}, {"data", Counting(8)}}),
       std::nullopt},
      {"extensible_format",
       RiffFile({{"fmt ", FormatBody(0xFFFE, 2, 44100, 16, 4, 24)}, {"data", Counting(8)}}),
       std::nullopt},
      {"no_fmt", RiffFile({{"data", Counting(8)}}), std::nullopt},
      {"no_data", RiffFile({Pcm16Stereo()}), std::nullopt},
      {"empty_data", RiffFile({Pcm16Stereo(), {"data", {}}}), std::nullopt},
      {"data_shorter_than_a_frame", RiffFile({Pcm16Stereo(), {"data", Counting(3)}}), std::nullopt},
      {"zero_channels", RiffFile({{"fmt ", FormatBody(1, 0, 44100, 16, 4)}, {"data", Counting(8)}}),
       std::nullopt},
      {"zero_block_align",
       RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16, 0)}, {"data", Counting(8)}}), std::nullopt},
      {"zero_rate", RiffFile({{"fmt ", FormatBody(1, 2, 0, 16, 4)}, {"data", Counting(8)}}),
       std::nullopt},
      {"fmt_too_short",
       RiffFile({{"fmt ", Prefix(FormatBody(1, 2, 44100, 16, 4), 14)}, {"data", Counting(8)}}),
       std::nullopt},
      {"not_riff",
       [] {
         Bytes f = RiffFile({Pcm16Stereo(), {"data", Counting(8)}});
         f[3] = 'X';
         return f;
       }(),
       std::nullopt},
      {"not_wave", RiffFile({Pcm16Stereo(), {"data", Counting(8)}}, "AVI "), std::nullopt},
      {"empty_input", {}, std::nullopt},
      {"riff_header_only", Prefix(music_file, 12), std::nullopt},
      {"cut_inside_a_chunk_header", Prefix(music_file, 12 + 24 + 5), std::nullopt},
      {"music_clip_cut_inside_its_data", Prefix(music_file, 1000), std::nullopt},
      {"data_size_past_the_end", RiffFile({Pcm16Stereo(), {"data", Counting(8), 100}}),
       std::nullopt},
      {"unknown_chunk_size_past_the_end",
       RiffFile({{"junk", Counting(4), 5000}, Pcm16Stereo(), {"data", Counting(8)}}), std::nullopt},
      {"chunk_size_2_to_the_32_minus_1",
       RiffFile({{"junk", Counting(4), 0xFFFF'FFFFu}, Pcm16Stereo(), {"data", Counting(8)}}),
       std::nullopt},
      {"chunk_size_2_to_the_32_minus_2",
       RiffFile({Pcm16Stereo(), {"junk", Counting(4), 0xFFFF'FFFEu}, {"data", Counting(8)}}),
       std::nullopt},
      {"data_size_2_to_the_32_minus_8",
       RiffFile({Pcm16Stereo(), {"data", Counting(8), 0xFFFF'FFF8u}}), std::nullopt},
      {"fmt_size_2_to_the_32_minus_1",
       RiffFile({{"data", Counting(8)}, {"fmt ", FormatBody(1, 2, 44100, 16, 4), 0xFFFF'FFFFu}}),
       std::nullopt},
  };
}

class ReadWaveClipTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadWaveClipTest, FindsFormatAndSamplesOrRejects) {
  const ReadCase& c = GetParam();
  // An exact-size heap copy, so a read past the end shows under ASan/valgrind.
  const std::unique_ptr<unsigned char[]> exact(new unsigned char[c.file.size()]);
  std::ranges::copy(c.file, exact.get());
  const std::optional<WaveClip> clip = ReadWaveClip({exact.get(), c.file.size()});
  ASSERT_EQ(clip.has_value(), c.expected.has_value());
  if (!clip) return;
  EXPECT_EQ(clip->format, c.expected->format);
  EXPECT_EQ(clip->samples.data() - exact.get(),
            static_cast<std::ptrdiff_t>(c.expected->samples_at));
  EXPECT_EQ(clip->samples.size(), c.expected->samples_size);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadWaveClipTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Every cut of a small file: playable exactly once the whole "data" chunk is
// there (the LIST behind it may be missing), and never a read past the cut.
TEST(ReadWaveClipTruncation, EveryPrefixRejectedUntilTheDataChunkIsComplete) {
  const Bytes file = RiffFile(
      {{"LIST", Counting(7)}, Pcm16Stereo(), {"data", Counting(12)}, {"LIST", Counting(9)}});
  const std::size_t data_end = 12 + 16 + 24 + 8 + 12;
  for (std::size_t length = 0; length <= file.size(); ++length) {
    const std::unique_ptr<unsigned char[]> exact(new unsigned char[length]);
    std::copy_n(file.begin(), length, exact.get());
    EXPECT_EQ(ReadWaveClip({exact.get(), length}).has_value(), length >= data_end)
        << "cut at " << length;
  }
}

}  // namespace
}  // namespace vorlindy::testing
