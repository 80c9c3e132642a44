// Feeds arbitrary bytes to the clip reader. Besides memory errors, which the
// sanitizers catch, it checks what an accepted clip promises: its samples lie
// inside the input and are a whole, non-zero number of frames.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "media/wave_clip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<vorlindy::WaveClip> clip = vorlindy::ReadWaveClip({data, size});
  if (!clip) return 0;
  const vorlindy::ClipFormat& format = clip->format;
  const unsigned char* begin = clip->samples.data();
  const bool inside = begin >= data && clip->samples.size() <= size &&
                      static_cast<std::size_t>(begin - data) <= size - clip->samples.size();
  if (!inside || format.channels == 0 || format.bytes_per_frame == 0 ||
      format.frames_per_second == 0 || clip->samples.empty() ||
      clip->samples.size() % format.bytes_per_frame != 0) {
    std::abort();
  }
  // Touch every sample, as the player's copy does.
  volatile unsigned sum = 0;
  for (unsigned char byte : clip->samples) sum = sum + byte;
  return 0;
}
