#pragma once
// One playback's work on its own thread: feeding a clip's samples to an
// opened device until they are played, the stop signal comes, or the device
// stops making progress.

#include <chrono>
#include <cstddef>
#include <span>

#include "media/sound_output.h"
#include "media/stop_signal.h"

namespace vorlindy {

enum class FeedEnd {
  kPlayed,   // every sample was heard (never, with looping)
  kStopped,  // the stop signal came; the queue was dropped
  kStalled,  // the device took and played nothing for the limit; dropped
  kFailed,   // the device reported an error it could not recover from
};

// Writes `samples` (whole frames of `bytes_per_frame`) to `stream` as fast as it
// takes them, so it never runs dry; with `loop` it starts again from the first
// frame each time the last one is queued. Without `loop` it returns after the
// queue has been played out.
FeedEnd FeedClip(SoundStream& stream, std::span<const unsigned char> samples,
                 std::size_t bytes_per_frame, bool loop, const StopSignal& stop,
                 std::chrono::milliseconds no_progress_limit);

}  // namespace vorlindy
