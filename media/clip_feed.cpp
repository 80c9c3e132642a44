#include "media/clip_feed.h"

#include <optional>

namespace vorlindy {
namespace {

using Clock = std::chrono::steady_clock;

// Tracks the time since the device last took or played a frame.
class ProgressWatch {
 public:
  explicit ProgressWatch(std::chrono::milliseconds limit)
      : limit_(limit), last_progress_(Clock::now()) {}

  void Progressed() { last_progress_ = Clock::now(); }

  // Time left before the device counts as stalled; zero or less once it does.
  std::chrono::milliseconds Left() const {
    return limit_ -
           std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last_progress_);
  }

 private:
  std::chrono::milliseconds limit_;
  Clock::time_point last_progress_;
};

FeedEnd DropAnd(SoundStream& stream, FeedEnd end) {
  stream.Drop();
  return end;
}

}  // namespace

FeedEnd FeedClip(SoundStream& stream, std::span<const unsigned char> samples,
                 std::size_t bytes_per_frame, bool loop, const StopSignal& stop,
                 std::chrono::milliseconds no_progress_limit) {
  ProgressWatch watch(no_progress_limit);
  std::size_t at = 0;
  for (;;) {
    if (stop.Raised()) return DropAnd(stream, FeedEnd::kStopped);
    if (at == samples.size()) {
      if (!loop) break;
      at = 0;
    }
    const std::optional<std::size_t> taken = stream.Write(samples.subspan(at));
    if (!taken) return DropAnd(stream, FeedEnd::kFailed);
    if (*taken > 0) {
      at += *taken * bytes_per_frame;
      watch.Progressed();
      continue;
    }
    if (watch.Left().count() <= 0) return DropAnd(stream, FeedEnd::kStalled);
    stream.Wait(stop, watch.Left());
  }

  // Everything is queued: wait until it has been heard.
  std::optional<std::size_t> queued = stream.Queued();
  while (queued && *queued > 0) {
    if (stop.Raised()) return DropAnd(stream, FeedEnd::kStopped);
    if (watch.Left().count() <= 0) return DropAnd(stream, FeedEnd::kStalled);
    stream.Wait(stop, watch.Left());
    const std::optional<std::size_t> now_queued = stream.Queued();
    if (now_queued && *now_queued < *queued) watch.Progressed();
    queued = now_queued;
  }
  if (!queued) return DropAnd(stream, FeedEnd::kFailed);
  return FeedEnd::kPlayed;
}

}  // namespace vorlindy
