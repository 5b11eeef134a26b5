#include "core/text/text_codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

namespace kesmaro {
namespace {

using Native = TextCodec::Native;

/// A code page whose every text decodes to the same native text.
class FixedDecode : public TextCodec {
 public:
  explicit FixedDecode(Native decoded)
      : TextCodec(CodePage{"GBK", 936, CharScheme::kGbk}), decoded_(std::move(decoded)) {}
  std::optional<std::string> Encode(const Native&) const override { return std::nullopt; }
  std::optional<Native> Decode(std::string_view) const override { return decoded_; }

 private:
  Native decoded_;
};

TEST(TextCodec, DecodeToUtf8GivesNothingForTextWithoutAUtf8Form) {
  EXPECT_EQ(FixedDecode(std::filesystem::path(u8"样品").native()).DecodeToUtf8("x"),
            "\xE6\xA0\xB7\xE5\x93\x81");
  // Wide native text (Windows') can hold a lone surrogate; the system's bytes elsewhere are
  // taken as UTF-8 as they are.
  if constexpr (sizeof(Native::value_type) > 1) {
    const Native loneSurrogate(1, static_cast<Native::value_type>(0xD800));
    EXPECT_EQ(FixedDecode(loneSurrogate).DecodeToUtf8("x"), std::nullopt);
  }
}

}  // namespace
}  // namespace kesmaro
