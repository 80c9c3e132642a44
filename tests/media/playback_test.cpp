// The player's behaviour against a fake sound device: what reaches the
// device, looping, stopping, a stalled device, and the threads.

#include "media/playback.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "media/assets.h"
#include "media/clip_player.h"
#include "media/wave_clip.h"
#include "tests/media/clip_builder.h"
#include "tests/media/fake_sound_output.h"

namespace vorlindy::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Records = std::vector<FakeStreamRecord>;

constexpr auto kLongLimit = 60s;  // long enough that only a stop can end a playback

std::size_t ThreadCount() {
  std::size_t count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (const dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
    closedir(tasks);
  }
  return count;
}

template <typename Predicate>
bool Eventually(Predicate ready, std::chrono::milliseconds timeout = 10s) {
  const auto deadline = Clock::now() + timeout;
  while (!ready()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// An 8-bit mono clip of `frames` counting bytes.
Bytes MonoClip(std::size_t frames, unsigned start = 0) {
  return RiffFile({{"fmt ", FormatBody(1, 1, 8000, 8, 1)}, {"data", Counting(frames, start)}});
}

std::shared_ptr<FakeSoundOutput> Fake(std::size_t queue_frames, bool autoplay) {
  return std::make_shared<FakeSoundOutput>(
      FakeSoundOutput::Settings{.queue_frames = queue_frames, .autoplay = autoplay});
}

class PlaybackTest : public ::testing::Test {
 protected:
  void TearDown() override {
    StopClips(true);
    EXPECT_EQ(RunningClipCount(), 0u);
  }
};

TEST_F(PlaybackTest, DeviceGetsEveryFrameOnceInTheClipsOwnFormat) {
  const Bytes mono = MonoClip(5001);
  const std::span<const unsigned char> music = MusicClipData();
  for (const std::span<const unsigned char> clip : {std::span<const unsigned char>(mono), music}) {
    const WaveClip wave = ReadWaveClip(clip).value();
    const auto fake = Fake(1024, true);
    PlayClipOn(fake, clip, false, kLongLimit);
    ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r.size() == 1 && r[0].closed; }));
    const FakeStreamRecord stream = fake->Streams().at(0);
    EXPECT_EQ(stream.format, wave.format);
    EXPECT_TRUE(std::ranges::equal(stream.written, wave.samples));
    EXPECT_EQ(stream.drops, 0);
  }
  EXPECT_TRUE(Eventually([] { return RunningClipCount() == 0; }));
}

TEST_F(PlaybackTest, SamplesAreCopiedSoTheCallersBufferMayGo) {
  auto clip = std::make_unique<Bytes>(MonoClip(3000));
  const Bytes expected(clip->end() - 3000, clip->end());
  const auto fake = Fake(100, false);
  PlayClipOn(fake, *clip, false, kLongLimit);
  std::fill(clip->begin(), clip->end(), 0xEE);
  clip.reset();
  ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r.size() == 1 && r[0].waiting; }));
  ASSERT_TRUE(Eventually([&] {
    fake->Play(100);
    return fake->Streams().at(0).closed;
  }));
  EXPECT_EQ(fake->Streams().at(0).written, expected);
}

TEST_F(PlaybackTest, LoopStartsAgainFromTheFirstSample) {
  const Bytes clip = MonoClip(777, 5);
  const auto fake = Fake(100, true);
  PlayClipOn(fake, clip, true, kLongLimit);
  ASSERT_TRUE(
      fake->WaitFor([](const Records& r) { return !r.empty() && r[0].written.size() > 3000; }));
  EXPECT_EQ(RunningClipCount(), 1u);
  StopClips(true);
  const FakeStreamRecord stream = fake->Streams().at(0);
  const std::span<const unsigned char> samples = ReadWaveClip(clip)->samples;
  for (std::size_t i = 0; i < stream.written.size(); ++i) {
    ASSERT_EQ(stream.written[i], samples[i % samples.size()]) << "at byte " << i;
  }
  EXPECT_EQ(stream.drops, 1);
  EXPECT_TRUE(stream.closed);
}

TEST_F(PlaybackTest, StopEndsAPlaybackAtOnceAndDropsWhatIsQueued) {
  const auto fake = Fake(1000, false);
  PlayClipOn(fake, MusicClipData(), false, kLongLimit);
  ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r.size() == 1 && r[0].waiting; }));
  const auto asked = Clock::now();
  StopClips(true);
  // The device never played a frame and the limit is a minute away: only the
  // stop can have ended the playback this soon.
  EXPECT_LT(Clock::now() - asked, 5s);
  const FakeStreamRecord stream = fake->Streams().at(0);
  EXPECT_EQ(stream.written.size(), 1000u * 4);
  EXPECT_EQ(stream.drops, 1);
  EXPECT_EQ(stream.queued_frames, 0u);
  EXPECT_TRUE(stream.closed);
}

TEST_F(PlaybackTest, StalledDeviceEndsThePlaybackAfterTheNoProgressLimit) {
  const auto fake = Fake(1000, false);
  const auto started = Clock::now();
  PlayClipOn(fake, MusicClipData(), false, 300ms);
  ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r.size() == 1 && r[0].closed; }));
  EXPECT_GE(Clock::now() - started, 300ms);
  const FakeStreamRecord stream = fake->Streams().at(0);
  EXPECT_EQ(stream.drops, 1);
  EXPECT_EQ(stream.written.size(), 1000u * 4);
  EXPECT_TRUE(Eventually([] { return RunningClipCount() == 0; }));
}

TEST_F(PlaybackTest, SlowButSteadyDeviceIsNotTakenForStalled) {
  // 30 steps of 100 ms: three times the limit in all, but never a second
  // without progress, also while the last queue plays out.
  const Bytes clip = MonoClip(3000);
  const auto fake = Fake(100, false);
  PlayClipOn(fake, clip, false, 1000ms);
  ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r.size() == 1 && r[0].waiting; }));
  for (int step = 0; step < 30 && !fake->Streams().at(0).closed; ++step) {
    std::this_thread::sleep_for(100ms);
    fake->Play(100);
  }
  ASSERT_TRUE(fake->WaitFor([](const Records& r) { return r[0].closed; }));
  const FakeStreamRecord stream = fake->Streams().at(0);
  EXPECT_EQ(stream.drops, 0);
  EXPECT_TRUE(std::ranges::equal(stream.written, ReadWaveClip(clip)->samples));
}

TEST_F(PlaybackTest, SeveralClipsPlayAtOnceEachOnItsOwnDevice) {
  const auto fake = Fake(64, false);
  const Bytes clips[] = {MonoClip(500, 0), MonoClip(700, 100), MonoClip(900, 200)};
  for (const Bytes& clip : clips) PlayClipOn(fake, clip, false, kLongLimit);
  ASSERT_TRUE(fake->WaitFor([](const Records& r) {
    return r.size() == 3 && std::ranges::all_of(r, [](auto& s) { return s.waiting; });
  }));
  EXPECT_EQ(RunningClipCount(), 3u);
  ASSERT_TRUE(Eventually([&] {
    fake->Play(64);
    return std::ranges::all_of(fake->Streams(), [](auto& s) { return s.closed; });
  }));
  // Each device got one clip whole; which one is up to the threads' order.
  std::vector<Bytes> heard;
  for (const FakeStreamRecord& stream : fake->Streams()) heard.push_back(stream.written);
  std::ranges::sort(heard, {}, &Bytes::size);
  for (int i = 0; i < 3; ++i) {
    const auto samples = ReadWaveClip(clips[i])->samples;
    EXPECT_TRUE(std::ranges::equal(heard[i], samples)) << "clip " << i;
  }
}

TEST_F(PlaybackTest, StopClipsWaitsForEveryPlaybackAndJoinsItsThread) {
  const std::size_t threads_before = ThreadCount();
  const auto fake = Fake(64, false);
  for (int i = 0; i < 3; ++i) PlayClipOn(fake, MonoClip(1000), false, kLongLimit);
  ASSERT_TRUE(fake->WaitFor([](const Records& r) {
    return r.size() == 3 && std::ranges::all_of(r, [](auto& s) { return s.waiting; });
  }));
  fake->HoldClosing();  // the playbacks stop but cannot finish closing yet

  auto no_wait = std::async(std::launch::async, [] { StopClips(false); });
  ASSERT_EQ(no_wait.wait_for(5s), std::future_status::ready) << "StopClips(false) waited";
  auto wait = std::async(std::launch::async, [] { StopClips(true); });
  EXPECT_EQ(wait.wait_for(200ms), std::future_status::timeout)
      << "StopClips(true) returned while playbacks were still closing";
  EXPECT_EQ(RunningClipCount(), 3u);

  fake->ReleaseClosing();
  ASSERT_EQ(wait.wait_for(10s), std::future_status::ready);
  EXPECT_TRUE(std::ranges::all_of(fake->Streams(), [](auto& s) { return s.closed; }));
  EXPECT_EQ(RunningClipCount(), 0u);
  // A joined thread is gone; the kernel may take a moment to drop its entry.
  EXPECT_TRUE(Eventually([&] { return ThreadCount() == threads_before; }, 2s))
      << ThreadCount() << " threads, " << threads_before << " before";
}

TEST_F(PlaybackTest, UnplayableClipOpensNoDevice) {
  const auto fake = Fake(64, true);
  const Bytes not_pcm = RiffFile({{"fmt ", FormatBody(3, 1, 8000, 32, 4)}, {"data", Counting(8)}});
  PlayClipOn(fake, not_pcm, false, kLongLimit);
  PlayClipOn(fake, {}, false, kLongLimit);
  EXPECT_EQ(RunningClipCount(), 0u);
  StopClips(true);
  EXPECT_EQ(fake->OpenCount(), 0u);
}

TEST_F(PlaybackTest, DeviceThatCannotBeOpenedEndsThePlaybackQuietly) {
  const auto refusing =
      std::make_shared<FakeSoundOutput>(FakeSoundOutput::Settings{.refuse_open = true});
  PlayClipOn(refusing, MonoClip(100), false, kLongLimit);
  EXPECT_TRUE(Eventually([] { return RunningClipCount() == 0; }));
  EXPECT_EQ(refusing->OpenCount(), 0u);
}

}  // namespace
}  // namespace vorlindy::testing
