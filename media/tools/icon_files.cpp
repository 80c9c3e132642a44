// File formats for the icon picture: ICO for the window, PNG for the desktop.

#include <array>

#include "media/tools/asset_maker.h"
#include "media/tools/byte_sink.h"

namespace vorlindy::assets {
namespace {

constexpr std::uint32_t kColourBytes = kIconSize * kIconSize * 4;
constexpr std::uint32_t kMaskBytes = kIconSize * kIconSize / 8;  // rows are already 4-byte aligned
constexpr std::uint32_t kImageBytes = 40 + kColourBytes + kMaskBytes;
constexpr std::uint32_t kImageOffset = 6 + 16;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  return (b << 16) | a;
}

void PngChunk(ByteSink& png, std::string_view type, const std::vector<std::uint8_t>& body) {
  png.U32be(static_cast<std::uint32_t>(body.size()));
  const std::size_t type_at = png.size();
  png.Tag(type);
  png.Append(body);
  png.U32be(Crc32(png.bytes().data() + type_at, png.size() - type_at));
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const IconPixels& pixels) {
  ByteSink ico;
  // Header: reserved, type 1 = icon, one image.
  ico.U16le(0);
  ico.U16le(1);
  ico.U16le(1);
  // Directory entry.
  ico.U8(kIconSize);
  ico.U8(kIconSize);
  ico.U8(0);      // colour count: not a palette image
  ico.U8(0);      // reserved
  ico.U16le(1);   // planes
  ico.U16le(32);  // bits per pixel
  ico.U32le(kImageBytes);
  ico.U32le(kImageOffset);
  // Bitmap header; the height counts the colour image and the mask.
  ico.U32le(40);
  ico.U32le(kIconSize);
  ico.U32le(2 * kIconSize);
  ico.U16le(1);
  ico.U16le(32);
  ico.U32le(0);  // uncompressed
  ico.U32le(kColourBytes + kMaskBytes);
  ico.U32le(0);  // no preferred resolution
  ico.U32le(0);
  ico.U32le(0);  // no palette
  ico.U32le(0);
  // Colour image, bottom row first, BGRA with straight alpha.
  for (int row = kIconSize - 1; row >= 0; --row) {
    for (int column = 0; column < kIconSize; ++column) {
      const Rgba& p = pixels[row * kIconSize + column];
      ico.U8(p.blue);
      ico.U8(p.green);
      ico.U8(p.red);
      ico.U8(p.alpha);
    }
  }
  // AND mask, bottom row first: a set bit marks a fully transparent pixel, for
  // readers that ignore the alpha channel.
  for (int row = kIconSize - 1; row >= 0; --row) {
    for (int column = 0; column < kIconSize; column += 8) {
      std::uint32_t bits = 0;
      for (int i = 0; i < 8; ++i) {
        if (pixels[row * kIconSize + column + i].alpha == 0) bits |= 0x80u >> i;
      }
      ico.U8(bits);
    }
  }
  return std::move(ico.bytes());
}

std::vector<std::uint8_t> EncodePng(const IconPixels& pixels) {
  // Scan lines with filter type 0, kept in stored (uncompressed) deflate
  // blocks: no compressor whose output could change between zlib versions.
  std::vector<std::uint8_t> raw;
  for (int row = 0; row < kIconSize; ++row) {
    raw.push_back(0);
    for (int column = 0; column < kIconSize; ++column) {
      const Rgba& p = pixels[row * kIconSize + column];
      raw.insert(raw.end(), {p.red, p.green, p.blue, p.alpha});
    }
  }
  ByteSink zlib;
  zlib.U8(0x78);  // deflate, 32 KiB window
  zlib.U8(0x01);  // no preset dictionary, fastest; (0x7801 % 31 == 0)
  zlib.U8(0x01);  // the final block, stored
  zlib.U16le(static_cast<std::uint32_t>(raw.size()));
  zlib.U16le(static_cast<std::uint32_t>(~raw.size() & 0xFFFFu));
  zlib.Append(raw);
  zlib.U32be(Adler32(raw));

  ByteSink header;
  header.U32be(kIconSize);
  header.U32be(kIconSize);
  header.U8(8);  // bits per channel
  header.U8(6);  // RGBA
  header.U8(0);  // deflate
  header.U8(0);  // adaptive filtering
  header.U8(0);  // not interlaced

  ByteSink png;
  for (std::uint8_t b : std::array<std::uint8_t, 8>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}) {
    png.U8(b);
  }
  PngChunk(png, "IHDR", header.bytes());
  PngChunk(png, "IDAT", zlib.bytes());
  PngChunk(png, "IEND", {});
  return std::move(png.bytes());
}

}  // namespace vorlindy::assets
