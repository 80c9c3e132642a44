#pragma once
// Builds RIFF/WAVE files chunk by chunk, including broken ones.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlindy::testing {

using Bytes = std::vector<unsigned char>;

inline void PutU16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
inline void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v);
  PutU16(out, v >> 16);
}

struct Chunk {
  std::string id;
  Bytes body;
  std::optional<std::uint32_t> claimed_size = std::nullopt;  // a size field that lies
  bool pad = true;                                           // the pad byte after an odd-sized body
};

// The body of a "fmt " chunk.
inline Bytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                        std::uint16_t bits, std::uint16_t block_align, std::size_t extra = 0) {
  Bytes body;
  PutU16(body, tag);
  PutU16(body, channels);
  PutU32(body, rate);
  PutU32(body, rate * block_align);
  PutU16(body, block_align);
  PutU16(body, bits);
  body.resize(body.size() + extra);
  return body;
}

inline Chunk Pcm16Stereo() { return {"fmt ", FormatBody(1, 2, 44100, 16, 4)}; }

// Bytes 0, 1, 2, ... so that misplaced samples show.
inline Bytes Counting(std::size_t count, unsigned start = 0) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(start + i);
  return bytes;
}

inline Bytes RiffFile(const std::vector<Chunk>& chunks, const std::string& form = "WAVE") {
  Bytes body(form.begin(), form.end());
  for (const Chunk& chunk : chunks) {
    body.insert(body.end(), chunk.id.begin(), chunk.id.end());
    PutU32(body, chunk.claimed_size.value_or(static_cast<std::uint32_t>(chunk.body.size())));
    body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() % 2 != 0 && chunk.pad) body.push_back(0);
  }
  Bytes file{'R', 'I', 'F', 'F'};
  PutU32(file, static_cast<std::uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace vorlindy::testing
