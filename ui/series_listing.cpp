#include "ui/series_listing.h"

#include <optional>

#include "core/text/data_encoding.h"

namespace kesmaro::ui {

void SeriesListing::List(std::filesystem::path folder, std::string_view extension) {
  folder_ = std::move(folder);
  files_ = DataFileList{};
  if (folder_.empty() || ListDataFiles(fs_, folder_, extension, &files_)) files_ = DataFileList{};
  seriesCodec_.reset();
  std::optional<CodePage> chosen;
  // A first file that cannot be read keeps the base code page; the first check then says why.
  if (makeCodec_ && files_.FileCount() > 0 &&
      !ChooseSeriesCodePage(fs_, folder_ / files_.FileNames.front(), mayChooseUtf8_, &chosen) && chosen) {
    seriesCodec_ = makeCodec_(*chosen);
  }
  codec_ = seriesCodec_ ? seriesCodec_.get() : &baseCodec_;
}

}  // namespace kesmaro::ui
