#pragma once
// Reading a music clip: finds the PCM format and the samples of a RIFF/WAVE
// file without copying anything.

#include <cstdint>
#include <optional>
#include <span>

namespace vorlindy {

// The sample layout from a "fmt " chunk.
struct ClipFormat {
  std::uint16_t channels = 0;
  std::uint32_t frames_per_second = 0;
  std::uint16_t bits_per_sample = 0;
  std::uint16_t bytes_per_frame = 0;  // the chunk's block align
  bool operator==(const ClipFormat&) const = default;
};

struct WaveClip {
  ClipFormat format;
  // The "data" chunk's whole frames: a trailing partial frame is left out.
  std::span<const unsigned char> samples;

  std::size_t FrameCount() const { return samples.size() / format.bytes_per_frame; }
};

// The clip in `file` if it is a playable PCM wave file: a "RIFF" file of form
// "WAVE" with a "fmt " chunk of format tag 1 (at least one channel, and a
// non-zero rate, sample size and block align) and a "data" chunk holding at
// least one whole frame.
// The chunks may come in any order; unknown ones are skipped, odd-sized ones
// are followed by their pad byte. Anything else, including a chunk that claims
// more bytes than the file holds before both chunks are found, gives nothing.
// Safe on any bytes: it never reads outside `file`.
std::optional<WaveClip> ReadWaveClip(std::span<const unsigned char> file);

}  // namespace vorlindy
