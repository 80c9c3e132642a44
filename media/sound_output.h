#pragma once
// The sound device as a playback sees it. ALSA's default PCM is the real one
// (media/alsa_output.h); tests put a fake in its place.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>

#include "media/stop_signal.h"
#include "media/wave_clip.h"

namespace vorlindy {

// One opened device, used by one playback thread only. Closing it (the
// destructor) lets what is still queued play out unless Drop came first.
class SoundStream {
 public:
  virtual ~SoundStream() = default;

  // Queues as many whole frames from the start of `frames` as the device takes
  // now, without blocking, and returns how many it took (0 when it is full).
  // An underrun is recovered from here. Nothing when the device has failed.
  virtual std::optional<std::size_t> Write(std::span<const unsigned char> frames) = 0;

  // How many queued frames are still to be heard; 0 once everything is played.
  // Starts the device if it was still waiting for a fuller queue.
  virtual std::optional<std::size_t> Queued() = 0;

  // Sleeps until the device can take more frames or has played more, `stop`
  // is raised, or `timeout` has passed, whichever comes first.
  virtual void Wait(const StopSignal& stop, std::chrono::milliseconds timeout) = 0;

  // Silences the device at once and throws away everything queued.
  virtual void Drop() = 0;
};

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;

  // Opens the default output for one playback in the clip's own format.
  // Nothing when there is no device or it refuses the format.
  virtual std::unique_ptr<SoundStream> Open(const ClipFormat& format) = 0;
};

}  // namespace vorlindy
