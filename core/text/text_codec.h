#ifndef KESMARO_CORE_TEXT_TEXT_CODEC_H_
#define KESMARO_CORE_TEXT_TEXT_CODEC_H_

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/text/code_page.h"

namespace kesmaro {

/// The data code page: how its bytes group into characters, and the conversions between its
/// bytes and the operating system's own text (file names, arguments) or UTF-8 (window text).
/// Nothing is approximated: a character without an exact counterpart fails a conversion.
class TextCodec {
 public:
  using Native = std::filesystem::path::string_type;

  explicit TextCodec(CodePage page) : page_(std::move(page)) {}
  virtual ~TextCodec() = default;

  const CodePage& Page() const { return page_; }
  CharScheme Scheme() const { return page_.scheme; }

  /// The text in the data code page; nullopt when a character has no place in it.
  virtual std::optional<std::string> Encode(const Native& text) const = 0;
  /// The data code page's bytes as native text; nullopt when they are not valid text there.
  virtual std::optional<Native> Decode(std::string_view bytes) const = 0;

  /// UTF-8 text (the window's) in the data code page; nullopt when it is not well-formed or a
  /// character has no place in the code page.
  std::optional<std::string> EncodeFromUtf8(std::string_view text) const;
  /// The data code page's bytes as UTF-8, to be shown; nullopt when they are not valid text there
  /// or decode to native text that has no UTF-8 form.
  std::optional<std::string> DecodeToUtf8(std::string_view bytes) const;

 private:
  CodePage page_;
};

/// Makes a converter for a code page: the system's MakeTextCodec, or a stand-in in tests.
using TextCodecMaker = std::function<std::unique_ptr<TextCodec>(const CodePage&)>;

}  // namespace kesmaro

#endif  // KESMARO_CORE_TEXT_TEXT_CODEC_H_
