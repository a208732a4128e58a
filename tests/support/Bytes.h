#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace dovetail::testing {

// Little-endian byte string writer for building binary fixtures.
class Bytes {
 public:
  Bytes& U8(uint32_t v) {
    text_.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Raw(const std::string& s) {
    text_ += s;
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The bytes of the given values (0 to 255), in order.
inline std::string ByteString(std::initializer_list<int> values) {
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

// `bytes` with the little-endian 32-bit `value` written over the four bytes
// at `offset` (which must lie inside it): a fixture with one field changed.
inline std::string WithU32(std::string bytes, size_t offset, uint32_t value) {
  return bytes.replace(offset, 4, Bytes().U32(value).Text());
}
// The same for a 16-bit field.
inline std::string WithU16(std::string bytes, size_t offset, uint32_t value) {
  return bytes.replace(offset, 2, Bytes().U16(value).Text());
}

}  // namespace dovetail::testing
