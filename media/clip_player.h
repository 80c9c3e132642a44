#pragma once
// The machinery behind PlayClip and StopClips, open to tests: which sound
// output a playback uses and how long a device may make no progress.

#include <chrono>
#include <cstddef>
#include <memory>
#include <span>

#include "media/sound_output.h"

namespace vorlindy {

// How long a playback waits for a device that takes and plays nothing.
inline constexpr std::chrono::milliseconds kNoProgressLimit{8888};

// PlayClip with the given output and limit. The playback joins the same
// process-wide list of running playbacks that StopClips stops.
void PlayClipOn(std::shared_ptr<SoundOutput> output, std::span<const unsigned char> clip, bool loop,
                std::chrono::milliseconds no_progress_limit);

// How many playbacks are running: started and not yet ended.
std::size_t RunningClipCount();

}  // namespace vorlindy
