#include "media/wave_clip.h"

#include <cstring>

namespace vorlindy {
namespace {

constexpr std::uint16_t kPcmFormatTag = 1;
constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kPcmFormatBytes = 16;

std::uint16_t U16At(std::span<const unsigned char> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t U32At(std::span<const unsigned char> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(bytes, at)) |
         static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16;
}

bool TagAt(std::span<const unsigned char> bytes, std::size_t at, const char (&tag)[5]) {
  return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::optional<ClipFormat> PcmFormat(std::span<const unsigned char> body) {
  if (body.size() < kPcmFormatBytes || U16At(body, 0) != kPcmFormatTag) return std::nullopt;
  ClipFormat format;
  format.channels = U16At(body, 2);
  format.frames_per_second = U32At(body, 4);
  format.bytes_per_frame = U16At(body, 12);
  format.bits_per_sample = U16At(body, 14);
  if (format.channels == 0 || format.frames_per_second == 0 || format.bytes_per_frame == 0 ||
      format.bits_per_sample == 0) {
    return std::nullopt;
  }
  return format;
}

}  // namespace

std::optional<WaveClip> ReadWaveClip(std::span<const unsigned char> file) {
  if (file.size() < kRiffHeaderBytes || !TagAt(file, 0, "RIFF") || !TagAt(file, 8, "WAVE")) {
    return std::nullopt;
  }
  // The RIFF size field is not trusted: writers often get it wrong, and the
  // walk is bounded by the bytes at hand anyway. Offsets are 64-bit so that
  // chunk sizes near 2^32 cannot wrap around.
  std::optional<std::span<const unsigned char>> format_body, data_body;
  std::uint64_t at = kRiffHeaderBytes;
  while (!(format_body && data_body)) {
    if (file.size() - at < kChunkHeaderBytes) return std::nullopt;
    const std::uint64_t size = U32At(file, at + 4);
    const std::uint64_t body_at = at + kChunkHeaderBytes;
    if (size > file.size() - body_at) return std::nullopt;
    const auto body = file.subspan(body_at, size);
    if (!format_body && TagAt(file, at, "fmt ")) {
      format_body = body;
    } else if (!data_body && TagAt(file, at, "data")) {
      data_body = body;
    }
    at = body_at + size + size % 2;
    if (at > file.size()) at = file.size();  // a last odd chunk may lack its pad byte
  }
  const std::optional<ClipFormat> format = PcmFormat(*format_body);
  if (!format) return std::nullopt;
  const std::size_t whole_frames = data_body->size() / format->bytes_per_frame;
  if (whole_frames == 0) return std::nullopt;
  return WaveClip{*format, data_body->first(whole_frames * format->bytes_per_frame)};
}

}  // namespace vorlindy
