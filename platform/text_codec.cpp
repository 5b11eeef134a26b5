#include "platform/text_codec.h"

namespace kesmaro {

std::unique_ptr<TextCodec> OpenTextCodec(const CodePageChoice& choice, CodePageFailure* failure,
                                         const TextCodecMaker& make) {
  const std::optional<CodePage> page = choice.named ? CodePageByName(*choice.named) : choice.system;
  if (!page) {
    *failure = CodePageFailure{true, choice.named.value_or(choice.systemName)};
    return nullptr;
  }
  std::unique_ptr<TextCodec> codec = make(*page);
  if (!codec) *failure = CodePageFailure{false, page->name};
  return codec;
}

}  // namespace kesmaro
