// The RIFF/WAVE layout of the music clip.

#include <stdexcept>
#include <string_view>
#include <utility>

#include "media/tools/asset_maker.h"
#include "media/tools/byte_sink.h"

namespace vorlindy::assets {
namespace {

constexpr std::pair<std::string_view, std::string_view> kInfoTags[] = {
    {"INAM", "Vorlindy theme"},
    {"IART", "The Vorlindy developers"},
    {"IGNR", "Chime"},
    {"ICMT",
     "Six bars in C major for bell, harp, pad and bass, made by the Vorlindy asset maker from its "
     "code."},
    {"ISFT", "vorlindy_make_assets"},
    {"ICOP", "Part of Vorlindy"},
};
constexpr std::uint32_t kInfoChunkBytes = 236;

// The "LIST" chunk body: type "INFO", then each tag as a NUL-terminated text,
// padded to an even length like every RIFF chunk.
std::vector<std::uint8_t> InfoList() {
  ByteSink list;
  list.Tag("INFO");
  for (const auto& [id, text] : kInfoTags) {
    const std::uint32_t length = static_cast<std::uint32_t>(text.size()) + 1;
    list.Tag(id);
    list.U32le(length);
    list.Tag(text);
    list.U8(0);
    if (length % 2 != 0) list.U8(0);
  }
  if (list.size() != kInfoChunkBytes) throw std::logic_error("the INFO tags changed size");
  return std::move(list.bytes());
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& stereo_samples) {
  constexpr std::uint32_t kChannels = 2, kBytesPerSample = 2;
  constexpr std::uint32_t kBlockAlign = kChannels * kBytesPerSample;
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(stereo_samples.size()) * 2;
  const std::vector<std::uint8_t> info = InfoList();

  ByteSink wave;
  wave.Tag("RIFF");
  wave.U32le(4 + (8 + 16) + (8 + data_bytes + data_bytes % 2) + (8 + kInfoChunkBytes));
  wave.Tag("WAVE");
  wave.Tag("fmt ");
  wave.U32le(16);
  wave.U16le(1);  // PCM
  wave.U16le(kChannels);
  wave.U32le(kClipRate);
  wave.U32le(kClipRate * kBlockAlign);
  wave.U16le(kBlockAlign);
  wave.U16le(8 * kBytesPerSample);
  wave.Tag("data");
  wave.U32le(data_bytes);
  for (std::int16_t sample : stereo_samples) wave.U16le(static_cast<std::uint16_t>(sample));
  if (data_bytes % 2 != 0) wave.U8(0);
  wave.Tag("LIST");
  wave.U32le(kInfoChunkBytes);
  wave.Append(info);
  return std::move(wave.bytes());
}

}  // namespace vorlindy::assets
