#include "graphics/BitmapFile.h"

#include <bit>
#include <cassert>
#include <utility>

#include "base/Files.h"
#include "base/LittleEndian.h"

namespace dovetail {
namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

Error Fail(const std::string& name, const std::string& what) {
  return Error{name + ": " + what};
}

std::string SizeText(int64_t width, int64_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// One colour channel of a 16- or 32-bit pixel, given by its bit mask.
class Channel {
 public:
  explicit Channel(uint32_t mask)
      : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), bits_(std::popcount(mask)) {}

  static bool IsContiguous(uint32_t mask) {
    if (mask == 0) return true;
    const uint64_t m = mask >> std::countr_zero(mask);
    return (m & (m + 1)) == 0;
  }

  // The channel's value scaled to 0..255. Channels of fewer than 8 bits repeat
  // their bit pattern downwards, so that all ones give 255 and 5-bit 16 gives
  // 0x84 as the system's own conversion does.
  uint32_t Extract(uint32_t value) const {
    if (bits_ == 0) return 0;
    const uint32_t v = (value & mask_) >> shift_;
    if (bits_ >= 8) return v >> (bits_ - 8);
    uint32_t out = 0;
    for (int pos = 8; pos > 0;) {
      pos -= bits_;
      out |= pos >= 0 ? v << pos : v >> -pos;
    }
    return out & 0xFF;
  }

 private:
  uint32_t mask_;
  int shift_;
  int bits_;
};

Pixel PaletteColour(const std::vector<Pixel>& palette, uint32_t index) {
  return index < palette.size() ? palette[index] : kBlack;
}

// The surface row that stored row `fileRow` lands on.
int32_t SurfaceRow(const DibHeader& header, int64_t fileRow) {
  return static_cast<int32_t>(header.topDown ? fileRow : header.height - 1 - fileRow);
}

// Walks an RLE stream, handing every pixel it sets to `put(x, fileRow,
// index)`; returns an error for a stream that is cut short or runs outside
// the picture. Run once without storing anything to check the stream, then
// again to fill the picture.
template <typename Put>
Status WalkRle(const DibHeader& header, std::string_view data, const std::string& name, Put put) {
  const bool four = header.compression == kBiRle4;
  const int64_t width = header.width;
  const int64_t height = header.height;
  uint64_t pos = 0;
  int64_t x = 0;
  int64_t row = 0;
  const auto runFits = [&](int64_t count) { return row < height && x + count <= width; };

  for (;;) {
    if (pos == data.size() && row >= height) break;  // every row ended; the end mark is left out
    if (!Has(data, pos, 2)) return Fail(name, "RLE data ends before the end-of-bitmap mark");
    const uint8_t count = U8(data, pos);
    const uint8_t value = U8(data, pos + 1);
    pos += 2;
    if (count > 0) {  // `count` pixels of one index (RLE4: two alternating indices)
      if (!runFits(count)) return Fail(name, "RLE run goes past the end of a row");
      for (int i = 0; i < count; ++i, ++x) {
        put(x, row, four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      }
      continue;
    }
    if (value == 1) break;  // end of bitmap
    switch (value) {
      case 0:  // end of line
        if (row >= height) return Fail(name, "RLE data goes past the last row");
        ++row;
        x = 0;
        break;
      case 2:  // move right and up
        if (!Has(data, pos, 2)) return Fail(name, "RLE data ends inside a delta");
        x += U8(data, pos);
        row += U8(data, pos + 1);
        pos += 2;
        if (x > width || row >= height) return Fail(name, "RLE delta goes past the picture");
        break;
      default: {  // absolute run of `value` indices, padded to a 2-byte boundary
        const uint64_t bytes = four ? (value + 1) / 2 : value;
        const uint64_t padded = bytes + (bytes & 1);
        if (!Has(data, pos, padded)) return Fail(name, "RLE data ends inside an absolute run");
        if (!runFits(value)) return Fail(name, "RLE run goes past the end of a row");
        for (int i = 0; i < value; ++i, ++x) {
          if (four) {
            const uint8_t b = U8(data, pos + i / 2);
            put(x, row, (i % 2 == 0) ? b >> 4 : b & 0x0F);
          } else {
            put(x, row, U8(data, pos + i));
          }
        }
        pos += padded;
        break;
      }
    }
  }
  return {};
}

Result<DibImage> DecodeRle(const DibHeader& header, std::string_view data,
                           const std::string& name) {
  const auto check = [](int64_t, int64_t, uint8_t) {};
  if (Status status = WalkRle(header, data, name, check); !status) return status.error();

  // Pixels the stream skips keep palette entry 0.
  DibImage image{Surface(header.width, header.height), {}};
  image.pixels.Fill(PaletteColour(header.palette, 0));
  const auto store = [&](int64_t x, int64_t fileRow, uint8_t index) {
    image.pixels.Row(SurfaceRow(header, fileRow))[x] = PaletteColour(header.palette, index);
  };
  // The same stream walked a second time: it held together the first time.
  [[maybe_unused]] const Status stored = WalkRle(header, data, name, store);
  assert(stored.ok());
  return image;
}

}  // namespace

uint64_t DibRowStride(int64_t width, int32_t bitCount) {
  return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

Result<DibHeader> ReadDibHeader(std::string_view dib, const std::string& name) {
  if (!Has(dib, 0, 4)) return Fail(name, "truncated bitmap header");
  const uint32_t infoSize = U32(dib, 0);
  DibHeader header;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  uint64_t entrySize = 4;
  uint64_t tableStart = infoSize;

  if (infoSize == kCoreHeaderSize) {
    // OS/2 core header: 16-bit unsigned sizes, always bottom-up, no
    // compression, 3-byte colour table entries.
    if (!Has(dib, 0, infoSize)) return Fail(name, "truncated bitmap header");
    width = U16(dib, 4);
    height = U16(dib, 6);
    header.bitCount = U16(dib, 10);
    entrySize = 3;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    if (!Has(dib, 0, infoSize)) return Fail(name, "truncated bitmap header");
    width = static_cast<int32_t>(U32(dib, 4));
    height = static_cast<int32_t>(U32(dib, 8));
    header.bitCount = U16(dib, 14);
    header.compression = U32(dib, 16);
    colorsUsed = U32(dib, 32);
    if (header.compression == kBiBitfields) {
      // The 40-byte header is followed by three masks; the larger headers
      // hold them (and, from 56 bytes on, an alpha mask) themselves.
      if (infoSize == 40) {
        if (!Has(dib, 40, 12)) return Fail(name, "truncated colour masks");
        tableStart = 52;
      }
      header.masks = {U32(dib, 40), U32(dib, 44), U32(dib, 48), infoSize >= 56 ? U32(dib, 52) : 0};
    }
  } else {
    return Fail(name, "unsupported bitmap header size " + std::to_string(infoSize));
  }

  if (height < 0) {
    header.topDown = true;
    height = -height;
  }
  if (width <= 0 || height <= 0)
    return Fail(name, "invalid bitmap size " + SizeText(width, height));
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels) {
    return Fail(name, "bitmap size " + SizeText(width, height) + " is too large");
  }
  header.width = static_cast<int32_t>(width);
  header.height = static_cast<int32_t>(height);

  const uint16_t bits = header.bitCount;
  const bool validDepth =
      bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!validDepth || (infoSize == kCoreHeaderSize && (bits == 16 || bits == 32))) {
    return Fail(name, "unsupported bit depth " + std::to_string(bits));
  }
  switch (header.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
    case kBiRle4: {
      const uint16_t wanted = header.compression == kBiRle8 ? 8 : 4;
      if (bits != wanted) {
        return Fail(name, "RLE" + std::to_string(wanted) + " compression with " +
                              std::to_string(bits) + " bits per pixel");
      }
      break;
    }
    case kBiBitfields:
      if (bits != 16 && bits != 32) {
        return Fail(name, "bit-field compression with " + std::to_string(bits) + " bits per pixel");
      }
      for (uint32_t mask : header.masks) {
        if (!Channel::IsContiguous(mask)) return Fail(name, "colour mask is not contiguous");
      }
      break;
    default:
      return Fail(name, "unsupported compression " + std::to_string(header.compression));
  }
  if (header.compression != kBiBitfields) {
    if (bits == 16) header.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (bits == 32) header.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
  }

  if (bits <= 8) {
    uint64_t count = uint64_t{1} << bits;
    if (colorsUsed != 0 && colorsUsed < count) count = colorsUsed;
    if (!Has(dib, tableStart, count * entrySize)) return Fail(name, "truncated colour table");
    header.palette.reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t at = tableStart + i * entrySize;
      header.palette.push_back(Rgb(U8(dib, at + 2), U8(dib, at + 1), U8(dib, at)));
    }
    header.size = tableStart + count * entrySize;
  } else {
    // An optional colour table (a hint for palette displays) may follow.
    header.size = tableStart + uint64_t{colorsUsed} * entrySize;
  }
  return header;
}

Result<DibImage> DecodeDibPixels(const DibHeader& header, std::string_view data,
                                 const std::string& name) {
  assert(header.width > 0 && header.height > 0);
  if (header.compression == kBiRle8 || header.compression == kBiRle4) {
    return DecodeRle(header, data, name);
  }

  const int32_t width = header.width;
  const int32_t height = header.height;
  const int32_t bits = header.bitCount;
  const uint64_t stride = DibRowStride(width, bits);
  // Writers sometimes leave out the padding of the last row.
  const uint64_t lastRow = (static_cast<uint64_t>(width) * bits + 7) / 8;
  if (!Has(data, 0, stride * (height - 1) + lastRow)) return Fail(name, "truncated pixel data");

  DibImage image{Surface(width, height), {}};
  if (bits == 32) image.alpha.assign(static_cast<size_t>(width) * height, 0);
  const Channel red(header.masks[0]);
  const Channel green(header.masks[1]);
  const Channel blue(header.masks[2]);
  const Channel alpha(header.compression == kBiRgb ? 0xFF000000u : header.masks[3]);
  const uint32_t indexMask = (1u << (bits < 8 ? bits : 8)) - 1;

  for (int64_t r = 0; r < height; ++r) {
    const int32_t y = SurfaceRow(header, r);
    const auto* in = reinterpret_cast<const uint8_t*>(data.data()) + r * stride;
    Pixel* out = image.pixels.Row(y);
    switch (bits) {
      case 1:
      case 4:
      case 8:
        for (int32_t x = 0; x < width; ++x) {
          const uint64_t bit = static_cast<uint64_t>(x) * bits;
          const int shift = 8 - bits - static_cast<int>(bit % 8);
          out[x] = PaletteColour(header.palette, (in[bit / 8] >> shift) & indexMask);
        }
        break;
      case 16:
        for (int32_t x = 0; x < width; ++x) {
          const uint32_t v = in[2 * x] | (in[2 * x + 1] << 8);
          out[x] = Rgb(red.Extract(v), green.Extract(v), blue.Extract(v));
        }
        break;
      case 24:
        for (int32_t x = 0; x < width; ++x) {
          out[x] = Rgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
        }
        break;
      case 32: {
        uint8_t* alphaRow = image.alpha.data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
          const uint32_t v = in[4 * x] | (in[4 * x + 1] << 8) | (in[4 * x + 2] << 16) |
                             (uint32_t{in[4 * x + 3]} << 24);
          out[x] = Rgb(red.Extract(v), green.Extract(v), blue.Extract(v));
          alphaRow[x] = static_cast<uint8_t>(alpha.Extract(v));
        }
        break;
      }
      default:
        assert(false && "depth checked by ReadDibHeader");
    }
  }
  return image;
}

Result<Surface> DecodeBitmap(std::string_view bytes, const std::string& name) {
  if (bytes.size() < 2) return Fail(name, "truncated file header");
  if (bytes[0] != 'B' || bytes[1] != 'M') {
    return Fail(name, "not a bitmap file (the first two bytes are not \"BM\")");
  }
  if (!Has(bytes, 0, kFileHeaderSize)) return Fail(name, "truncated file header");
  const uint32_t pixelOffset = U32(bytes, 10);

  auto header = ReadDibHeader(bytes.substr(kFileHeaderSize), name);
  if (!header) return header.error();
  const uint64_t infoEnd = kFileHeaderSize + U32(bytes, kFileHeaderSize);
  if (pixelOffset < infoEnd) {
    return Fail(name,
                "pixel data offset " + std::to_string(pixelOffset) + " lies inside the header");
  }
  if (pixelOffset > bytes.size()) {
    return Fail(name, "pixel data offset " + std::to_string(pixelOffset) +
                          " is past the end of the file (" + std::to_string(bytes.size()) +
                          " bytes)");
  }

  auto image = DecodeDibPixels(*header, bytes.substr(pixelOffset), name);
  if (!image) return image.error();
  return std::move(image->pixels);
}

Result<Surface> LoadBitmapFile(const std::filesystem::path& path) {
  auto bytes = ReadWholeFile(path, kMaxBitmapFileBytes);
  if (!bytes) return bytes.error();
  return DecodeBitmap(*bytes, path.string());
}

std::string EncodeBitmap24(const Surface& surface) {
  assert(!surface.Empty());
  const int32_t width = surface.Width();
  const int32_t height = surface.Height();
  const uint64_t stride = DibRowStride(width, 24);
  const uint64_t imageSize = stride * height;
  const uint64_t dataOffset = kFileHeaderSize + 40;
  assert(dataOffset + imageSize <= UINT32_MAX);

  std::string out(dataOffset + imageSize, '\0');
  uint64_t at = 0;
  const auto put16 = [&](uint32_t v) {
    out[at++] = static_cast<char>(v & 0xFF);
    out[at++] = static_cast<char>((v >> 8) & 0xFF);
  };
  const auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  out[at++] = 'B';
  out[at++] = 'M';
  put32(static_cast<uint32_t>(dataOffset + imageSize));
  put32(0);  // reserved
  put32(static_cast<uint32_t>(dataOffset));
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(static_cast<uint32_t>(height));  // positive: bottom-up rows
  put16(1);                              // planes
  put16(24);
  put32(kBiRgb);
  put32(static_cast<uint32_t>(imageSize));
  put32(3780);  // 96 dots per inch, in dots per metre
  put32(3780);
  put32(0);  // colours used
  put32(0);  // colours important
  assert(at == dataOffset);

  for (int32_t y = height - 1; y >= 0; --y) {
    const Pixel* in = surface.Row(y);
    char* row = out.data() + at;
    for (int32_t x = 0; x < width; ++x) {
      row[3 * x] = static_cast<char>(BlueOf(in[x]));
      row[3 * x + 1] = static_cast<char>(GreenOf(in[x]));
      row[3 * x + 2] = static_cast<char>(RedOf(in[x]));
    }
    at += stride;  // the padding stays 0
  }
  return out;
}

Status SaveBitmapFile(const std::filesystem::path& path, const Surface& surface) {
  return ReplaceFileAtomically(path, EncodeBitmap24(surface));
}

}  // namespace dovetail
