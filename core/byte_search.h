#ifndef KESMARO_CORE_BYTE_SEARCH_H_
#define KESMARO_CORE_BYTE_SEARCH_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

/// Finds a byte string in large blocks of text. A Horspool search keyed on the last two bytes of
/// the window: numeric data is made of a dozen distinct bytes, so single bytes repeat too often
/// to allow long skips, while pairs of them rarely all occur in a short key.
class ByteSearcher {
 public:
  explicit ByteSearcher(std::string_view needle);

  /// The first occurrence of the needle in [first, last), or `last` when there is none. An empty
  /// needle is found at `first`.
  const char* Find(const char* first, const char* last) const;

  std::string_view needle() const { return needle_; }

 private:
  std::string needle_;
  std::vector<std::uint8_t> shift_;  ///< indexed by the window's last two bytes
  std::size_t matchShift_ = 1;       ///< the shift after the window's last pair matched
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_BYTE_SEARCH_H_
