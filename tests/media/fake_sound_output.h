#pragma once
// A sound output for tests. Each opened stream queues up to a fixed number of
// frames. With autoplay it hears everything at once, like an unpaced sink;
// without, frames are heard only when the test calls Play, so a device that
// the test never plays is a stalled one. Everything a stream receives is
// recorded; all methods are safe from any thread.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "media/sound_output.h"

namespace vorlindy::testing {

struct FakeStreamRecord {
  ClipFormat format;
  std::vector<unsigned char> written;  // every byte queued, in order
  std::size_t queued_frames = 0;       // queued and not yet heard
  int drops = 0;
  bool waiting = false;  // inside Wait right now
  bool closed = false;
  int wake_fd = -1;  // the stream's own: readable after Play, until it waits again
};

class FakeSoundOutput final : public SoundOutput {
 public:
  struct Settings {
    std::size_t queue_frames = 1024;
    bool autoplay = true;
    bool refuse_open = false;
  };
  explicit FakeSoundOutput(Settings settings) : settings_(settings) {}

  std::unique_ptr<SoundStream> Open(const ClipFormat& format) override;

  // Hears up to `frames` queued frames of every open stream, making room.
  void Play(std::size_t frames);

  // While held, closing a stream blocks until Release.
  void HoldClosing();
  void ReleaseClosing();

  std::vector<FakeStreamRecord> Streams() const;
  std::size_t OpenCount() const;

  // Waits until `ready` holds for the records, or gives up after `timeout`.
  bool WaitFor(const std::function<bool(const std::vector<FakeStreamRecord>&)>& ready,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

 private:
  class Stream;
  friend class Stream;

  Settings settings_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<FakeStreamRecord> records_;
  bool hold_closing_ = false;
};

}  // namespace vorlindy::testing
