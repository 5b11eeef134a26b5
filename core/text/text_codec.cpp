#include "core/text/text_codec.h"

#include <exception>

namespace kesmaro {

std::optional<std::string> TextCodec::EncodeFromUtf8(std::string_view text) const {
  std::filesystem::path native;
  try {
    native = std::filesystem::path(std::u8string(text.begin(), text.end()));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return Encode(native.native());
}

std::optional<std::string> TextCodec::DecodeToUtf8(std::string_view bytes) const {
  const std::optional<Native> native = Decode(bytes);
  if (!native) return std::nullopt;
  try {
    const std::u8string text = std::filesystem::path(*native).u8string();
    return std::string(text.begin(), text.end());
  } catch (const std::exception&) {  // wide text with no UTF-8 form, such as a lone surrogate
    return std::nullopt;
  }
}

}  // namespace kesmaro
