#ifndef KESMARO_TESTS_PNG_FILE_H_
#define KESMARO_TESTS_PNG_FILE_H_

#include <filesystem>
#include <vector>

namespace kesmaro {

/// Writes 8-bit RGB pixels, top row first, as a PNG file (stored without compression: the
/// screenshots are small and this needs no zlib).
bool WritePng(const std::filesystem::path& path, unsigned width, unsigned height,
              const std::vector<unsigned char>& rgb);

}  // namespace kesmaro

#endif  // KESMARO_TESTS_PNG_FILE_H_
