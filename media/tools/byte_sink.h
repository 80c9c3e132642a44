#pragma once
// Appends little- and big-endian integers and tags to a byte vector.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vorlindy::assets {

class ByteSink {
 public:
  void U8(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
  void U16le(std::uint32_t value) {
    U8(value);
    U8(value >> 8);
  }
  void U32le(std::uint32_t value) {
    U16le(value);
    U16le(value >> 16);
  }
  void U32be(std::uint32_t value) {
    U8(value >> 24);
    U8(value >> 16);
    U8(value >> 8);
    U8(value);
  }
  void Tag(std::string_view four_chars) {
    for (char c : four_chars) U8(static_cast<unsigned char>(c));
  }
  void Append(const std::vector<std::uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
  }

  std::size_t size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vorlindy::assets
