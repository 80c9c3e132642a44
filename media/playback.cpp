// The process-wide list of running playbacks. One mutex guards it: PlayClip
// adds to it, a playback moves itself to the list of finished ones when it
// ends, and StopClips raises every running playback's stop signal under it.
// Finished threads are joined outside the lock, by StopClips with waiting, by
// the next PlayClip, or at the latest when the process exits.

#include "media/playback.h"

#include <condition_variable>
#include <list>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "media/alsa_output.h"
#include "media/clip_feed.h"
#include "media/clip_player.h"

namespace vorlindy {
namespace {

class Playback {
 public:
  Playback(std::shared_ptr<SoundOutput> output, const WaveClip& clip, bool loop,
           std::chrono::milliseconds no_progress_limit)
      : output_(std::move(output)),
        format_(clip.format),
        samples_(clip.samples.begin(), clip.samples.end()),
        loop_(loop),
        no_progress_limit_(no_progress_limit) {}

  // On the playback's own thread: open the device, feed it, close it.
  void Run() {
    if (stop.Raised()) return;
    const std::unique_ptr<SoundStream> stream = output_->Open(format_);
    if (!stream) return;
    FeedClip(*stream, samples_, format_.bytes_per_frame, loop_, stop, no_progress_limit_);
  }

  StopSignal stop;
  std::thread thread;
  bool ended = false;  // guarded by the list's mutex

 private:
  std::shared_ptr<SoundOutput> output_;
  ClipFormat format_;
  std::vector<unsigned char> samples_;
  bool loop_;
  std::chrono::milliseconds no_progress_limit_;
};

using PlaybackRef = std::shared_ptr<Playback>;

class PlaybackList {
 public:
  ~PlaybackList() { StopAll(true); }

  void Start(std::shared_ptr<SoundOutput> output, const WaveClip& clip, bool loop,
             std::chrono::milliseconds no_progress_limit) {
    JoinFinished();
    auto playback = std::make_shared<Playback>(std::move(output), clip, loop, no_progress_limit);
    const std::lock_guard lock(mutex_);
    running_.push_back(playback);
    try {
      // Under the lock, so the thread cannot end before its handle is stored.
      playback->thread = std::thread([this, playback] {
        playback->Run();
        Ended(*playback);
      });
    } catch (...) {
      running_.pop_back();
      throw;
    }
  }

  void StopAll(bool wait) {
    std::unique_lock lock(mutex_);
    for (const PlaybackRef& playback : running_) playback->stop.Raise();
    if (!wait) return;
    const std::vector<PlaybackRef> stopping(running_.begin(), running_.end());
    ended_.wait(lock, [&] {
      for (const PlaybackRef& playback : stopping) {
        if (!playback->ended) return false;
      }
      return joining_ == 0;  // another caller may still be joining some of them
    });
    lock.unlock();
    JoinFinished();
  }

  std::size_t RunningCount() {
    const std::lock_guard lock(mutex_);
    return running_.size();
  }

 private:
  // The playback's last act on its own thread: it leaves the running list for
  // the finished one. splice() moves the node, so this cannot fail.
  void Ended(Playback& playback) {
    const std::lock_guard lock(mutex_);
    playback.ended = true;
    for (auto it = running_.begin(); it != running_.end(); ++it) {
      if (it->get() == &playback) {
        finished_.splice(finished_.end(), running_, it);
        break;
      }
    }
    ended_.notify_all();
  }

  void JoinFinished() {
    std::list<PlaybackRef> joinable;
    {
      const std::lock_guard lock(mutex_);
      joinable.swap(finished_);
      joining_ += joinable.size();
    }
    for (const PlaybackRef& playback : joinable) playback->thread.join();
    const std::lock_guard lock(mutex_);
    joining_ -= joinable.size();
    ended_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable ended_;
  std::list<PlaybackRef> running_;
  std::list<PlaybackRef> finished_;
  std::size_t joining_ = 0;
};

PlaybackList& Playbacks() {
  static PlaybackList list;
  return list;
}

}  // namespace

void PlayClipOn(std::shared_ptr<SoundOutput> output, std::span<const unsigned char> clip, bool loop,
                std::chrono::milliseconds no_progress_limit) {
  const std::optional<WaveClip> wave = ReadWaveClip(clip);
  if (!wave) return;
  try {
    Playbacks().Start(std::move(output), *wave, loop, no_progress_limit);
  } catch (const std::bad_alloc&) {
    // Not enough memory for the copy or the thread: the clip is not heard.
  } catch (const std::system_error&) {
    // No thread or descriptor to be had: the same.
  }
}

std::size_t RunningClipCount() { return Playbacks().RunningCount(); }

void PlayClip(const unsigned char* bytes, std::size_t length, bool loop) {
  if (bytes == nullptr) return;
  try {
    static const auto alsa = std::make_shared<AlsaOutput>();
    PlayClipOn(alsa, {bytes, length}, loop, kNoProgressLimit);
  } catch (const std::bad_alloc&) {
  }
}

void StopClips(bool wait) { Playbacks().StopAll(wait); }

}  // namespace vorlindy
