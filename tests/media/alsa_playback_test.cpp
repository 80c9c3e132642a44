// The player through the real ALSA library: with "default" routed to a file
// the device receives the clip's samples exactly once, and with no usable
// device nothing is printed and nothing hangs. Each test points ALSA at a
// configuration of its own through ALSA_CONFIG_PATH.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "media/assets.h"
#include "media/clip_player.h"
#include "media/playback.h"
#include "media/wave_clip.h"
#include "tests/media/clip_builder.h"

namespace vorlindy::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

bool AllPlaybacksEnd(std::chrono::seconds timeout = 30s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (RunningClipCount() != 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class AlsaPlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorlindy-alsa-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    StopClips(true);
    fs::remove_all(dir_);
  }

  // Makes `default_pcm` ALSA's default device for this process.
  void UseDefault(const std::string& default_pcm) {
    const fs::path conf = dir_ / "asound.conf";
    std::ofstream(conf) << "pcm.!default " << default_pcm << "\n";
    const std::string path = "/usr/share/alsa/alsa.conf:" + conf.string();
    setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
  }

  void UseFileSink() {
    UseDefault("{ type file slave.pcm { type null } file \"" + Sink().string() +
               "\" format \"raw\" }");
  }

  fs::path Sink() const { return dir_ / "played.raw"; }

  fs::path dir_;
};

TEST_F(AlsaPlaybackTest, FileSinkReceivesTheMusicClipsDataChunkExactlyOnce) {
  UseFileSink();
  const std::span<const unsigned char> music = MusicClipData();
  PlayClip(music.data(), music.size(), false);
  ASSERT_TRUE(AllPlaybacksEnd());
  const Bytes played = ReadAll(Sink());
  const std::span<const unsigned char> data = music.subspan(44, 2'265'532);
  ASSERT_EQ(played.size(), data.size());
  EXPECT_TRUE(std::ranges::equal(played, data));
}

TEST_F(AlsaPlaybackTest, EightBitMonoClipReachesTheDeviceInItsOwnFormat) {
  UseFileSink();
  // 11,025 Hz mono, unsigned 8-bit, odd length: the device must be opened in
  // this format for the bytes to pass through unchanged.
  const Bytes clip =
      RiffFile({{"fmt ", FormatBody(1, 1, 11025, 8, 1)}, {"data", Counting(20001, 7)}});
  PlayClip(clip.data(), clip.size(), false);
  ASSERT_TRUE(AllPlaybacksEnd());
  EXPECT_EQ(ReadAll(Sink()), Counting(20001, 7));
}

struct BrokenDefault {
  const char* name;
  const char* definition;
};

class NoSoundDeviceTest : public AlsaPlaybackTest,
                          public ::testing::WithParamInterface<BrokenDefault> {};

TEST_P(NoSoundDeviceTest, PlayingPrintsNothingAndEndsQuietly) {
  UseDefault(GetParam().definition);
  fflush(stderr);
  const int saved_stderr = dup(2);
  const fs::path captured = dir_ / "stderr.txt";
  const int capture = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(capture, 0);
  dup2(capture, 2);
  close(capture);

  const std::span<const unsigned char> music = MusicClipData();
  PlayClip(music.data(), music.size(), false);
  const bool ended = AllPlaybacksEnd(10s);
  StopClips(true);

  fflush(stderr);
  dup2(saved_stderr, 2);
  close(saved_stderr);
  EXPECT_TRUE(ended);
  EXPECT_EQ(RunningClipCount(), 0u);
  const Bytes printed = ReadAll(captured);
  EXPECT_EQ(std::string(printed.begin(), printed.end()), "");
}

INSTANTIATE_TEST_SUITE_P(Configs, NoSoundDeviceTest,
                         ::testing::Values(BrokenDefault{"missing_card", "{ type hw card 63 }"},
                                           BrokenDefault{"unknown_name", "\"no_such_device\""},
                                           BrokenDefault{"plug_to_nothing",
                                                         "{ type plug slave.pcm \"hw:63,0\" }"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlindy::testing
