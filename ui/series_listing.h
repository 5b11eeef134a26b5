#ifndef KESMARO_UI_SERIES_LISTING_H_
#define KESMARO_UI_SERIES_LISTING_H_

#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/text/text_codec.h"

namespace kesmaro::ui {

/// The data folder a window works on: its listed data files, and the code page the series is read
/// in. Both windows list a folder alike.
class SeriesListing {
 public:
  /// `codec` is the data code page.
  SeriesListing(FileSystem& fs, const TextCodec& codec) : fs_(fs), baseCodec_(codec), codec_(&codec) {}

  /// Lets each listed series choose its code page from its first file (ChooseSeriesCodePage:
  /// UTF-16 by its mark; UTF-8 text when `mayChooseUtf8`), made with `make`; any other series is
  /// read in the constructor's code page. Chosen anew whenever a folder is listed. Without this
  /// call every series is read in the constructor's code page, as when the user named one.
  void LetSeriesChooseCodePage(TextCodecMaker make, bool mayChooseUtf8) {
    makeCodec_ = std::move(make);
    mayChooseUtf8_ = mayChooseUtf8;
  }

  /// Lists the data files of `folder` ending in `extension`. No folder, or one that cannot be
  /// listed, lists none: a run must never pick up whatever lies in the current folder.
  void List(std::filesystem::path folder, std::string_view extension);

  const std::filesystem::path& Folder() const { return folder_; }
  const DataFileList& Files() const { return files_; }
  /// The listed series' code page.
  const TextCodec& Codec() const { return *codec_; }

 private:
  FileSystem& fs_;
  const TextCodec& baseCodec_;
  TextCodecMaker makeCodec_;
  bool mayChooseUtf8_ = false;
  std::unique_ptr<TextCodec> seriesCodec_;  ///< the code page the listed series chose, if any
  const TextCodec* codec_;

  std::filesystem::path folder_;
  DataFileList files_;
};

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_SERIES_LISTING_H_
