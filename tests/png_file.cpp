#include "tests/png_file.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string>

namespace kesmaro {
namespace {

std::uint32_t Crc32(const std::string& bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void Put32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  Put32(out, Crc32(typed));
}

}  // namespace

bool WritePng(const std::filesystem::path& path, unsigned width, unsigned height,
              const std::vector<unsigned char>& rgb) {
  if (rgb.size() != static_cast<std::size_t>(width) * height * 3) return false;
  std::string raw;  // every row starts with filter type 0
  for (std::size_t row = 0; row < height; ++row) {
    raw.push_back('\0');
    raw.append(reinterpret_cast<const char*>(rgb.data()) + row * width * 3, width * 3);
  }
  // zlib stream of stored deflate blocks.
  std::string zlib = "\x78\x01";
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (char ch : raw) {
    a = (a + static_cast<unsigned char>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    zlib.push_back(at + size >= raw.size() ? '\1' : '\0');
    zlib.push_back(static_cast<char>(size & 0xFF));
    zlib.push_back(static_cast<char>(size >> 8));
    zlib.push_back(static_cast<char>(~size & 0xFF));
    zlib.push_back(static_cast<char>((~size >> 8) & 0xFF));
    zlib.append(raw, at, size);
    if (raw.empty()) break;
  }
  Put32(zlib, (b << 16) | a);

  std::string header;
  Put32(header, width);
  Put32(header, height);
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", "");
  std::ofstream out(path, std::ios::binary);
  out << png;
  return static_cast<bool>(out);
}

}  // namespace kesmaro
