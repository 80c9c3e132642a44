#pragma once
// Background music: each clip plays on a thread of its own through the
// system's default sound output. Nothing here reports anything: a clip that
// cannot be played, a missing or refusing sound device, or a lack of memory
// simply means nothing is heard.

#include <cstddef>

namespace vorlindy {

// Starts playing a RIFF/WAVE PCM clip in the background and returns at once.
// The samples are copied, so `bytes` need not outlive the call. With `loop`
// the clip starts again from its first sample each time it ends. A clip that
// is not a playable PCM wave file is ignored.
void PlayClip(const unsigned char* bytes, std::size_t length, bool loop);

// Tells every playing clip to stop at once, discarding what is still queued.
// With `wait` it returns only after each of them has ended and its thread has
// been joined; without, it returns at once.
void StopClips(bool wait);

}  // namespace vorlindy
