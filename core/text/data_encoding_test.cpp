#include "core/text/data_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

/// UTF-8 text as UTF-16 of the byte order, without a mark; for the cases' files.
std::string Utf16(std::string_view utf8, bool bigEndian = false) {
  return EncodeOutput(bigEndian ? FileForm::kUtf16Be : FileForm::kUtf16Le, utf8).substr(2);
}

TEST(DataEncoding, TheFirstFileChoosesUtf16ByItsMarkAndUtf8ByItsWholeText) {
  const std::string longHeader(70000, 'a');
  struct Case {
    std::string first;
    bool mayChooseUtf8;
    std::string chosen;  // the page's shown name; "" for the system's
  };
  // clang-format off
  const Case cases[] = {
      {"\xFF\xFE" + Utf16("550 \xE6\xA0\xB7"), false, "UTF-16LE"},
      {"\xFE\xFF" + Utf16("550 \xE6\xA0\xB7", true), true, "UTF-16BE"},
      {"\xFF", true, ""},
      {longHeader + "\r\n550 \xE6\xA0\xB7\r\n", true, "UTF-8"},  // text only past the first 64 KiB
      {longHeader + "\r\n550 \xE6\xA0\xB7\r\n", false, ""},
      {longHeader + "\r\n550 \xD1\xF9\r\n", true, ""},  // GBK
      {"\xEF\xBB\xBF" "1 2", true, "UTF-8"},
      {"1 2\r\n", true, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    for (const std::size_t readSize : {std::size_t{1}, std::size_t{4096}}) {
      MemoryFileSystem fs;
      fs.readSize = readSize;
      fs.Put("d/1.txt", c.first);
      std::optional<CodePage> page;
      EXPECT_OK(ChooseSeriesCodePage(fs, "d/1.txt", c.mayChooseUtf8, &page));
      EXPECT_EQ(page ? ShownName(*page) : "", c.chosen) << c.first.substr(0, 8) << " read by " << readSize;
    }
  }
  MemoryFileSystem empty;
  std::optional<CodePage> page;
  EXPECT_EQ(ChooseSeriesCodePage(empty, "d/1.txt", true, &page)->kind, ErrorKind::kOpenFailed);
}

TEST(DataEncoding, Utf16FilesReadAsUtf8AndOutputsAreWrittenBack) {
  const std::string pair = "\xF0\x9F\x98\x80";  // U+1F600, a surrogate pair in UTF-16
  struct Case {
    FileForm form;
    std::string file;
    std::string read;  // as UTF-8
  };
  // clang-format off
  const Case cases[] = {
      {FileForm::kUtf16Le, "\xFF\xFE" + Utf16("h\r\n550 \xE6\xA0\xB7" + pair),
       "h\r\n550 \xE6\xA0\xB7" + pair},
      {FileForm::kUtf16Be, "\xFE\xFF" + Utf16("1 2", true), "1 2"},
      {FileForm::kUtf16Le, Utf16("no mark"), "no mark"},
      {FileForm::kUtf16Le, "\xFE\xFF" "1", "\xEF\xBF\xBE\xEF\xBF\xBD"},  // another order's mark, an odd byte
      {FileForm::kUtf16Le, std::string("\x00\xD8" "1\x00", 4), "\xEF\xBF\xBD" "1"},  // a lone high surrogate
      {FileForm::kUtf16Le, std::string("\x00\xDC", 2), "\xEF\xBF\xBD"},  // a lone low one
      {FileForm::kUtf16Le, std::string("\x00\xD8", 2), "\xEF\xBF\xBD"},  // cut off by the end
      {FileForm::kUtf16Le, "5\xD6\xD0 12", "\xED\x98\xB5\xE2\x83\x90\xE3\x88\xB1"},  // GBK read as UTF-16
  };
  // clang-format on
  for (const Case& c : cases) {
    for (const std::size_t readSize : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
      MemoryFileSystem fs;
      fs.readSize = readSize;
      fs.Put("f", c.file);
      DataFileSystem data(fs, CodePage{"UTF-8", 65001, CharScheme::kUtf8, c.form});
      std::unique_ptr<InputFile> file;
      ASSERT_OK(data.OpenForReading("f", &file));
      std::string read;
      ASSERT_OK(ReadToEnd(*file, 5, &read));
      EXPECT_EQ(read, c.read) << testing::PrintToString(c.file) << " read by " << readSize;
    }
  }
  EXPECT_EQ(EncodeOutput(FileForm::kUtf16Be, "a" + pair),
            (std::string{'\xFE', '\xFF', '\0', 'a', '\xD8', '\x3D', '\xDE', '\0'}));
  EXPECT_EQ(EncodeOutput(FileForm::kUtf16Le, "\xFF"), "\xFF\xFE\xFD\xFF");
  EXPECT_EQ(EncodeOutput(FileForm::kUtf16Le, ""), "\xFF\xFE") << "an empty output still says what it is";
  EXPECT_EQ(EncodeOutput(FileForm::kAsIs, "\xD6\xD0"), "\xD6\xD0");
  MemoryFileSystem fs;
  ASSERT_OK(DataFileSystem(fs, *CodePageByName("utf-16be")).WriteFileAtomically("out", "a"));
  EXPECT_EQ(fs.Content("out"), EncodeOutput(FileForm::kUtf16Be, "a")) << "what a series' run writes";
}

}  // namespace
}  // namespace kesmaro
