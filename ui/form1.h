#ifndef KESMARO_UI_FORM1_H_
#define KESMARO_UI_FORM1_H_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/file_system.h"
#include "core/run/key_check.h"
#include "core/text/text_codec.h"
#include "ui/controls.h"
#include "ui/series_listing.h"

namespace kesmaro::ui {

/// The six-step window's state and handlers, apart from any window system: the backend creates
/// the controls from the layout table and calls the handler named after each control and event.
/// Nothing here ends the program: a failure is shown in the window and the state stays sound.
class Form1 {
 public:
  /// `codec` is the data code page.
  Form1(Controls& controls, FormHost& host, FileSystem& fs, const TextCodec& codec);

  /// Lets each listed series choose its code page from its first file (ChooseSeriesCodePage:
  /// UTF-16 by its mark; UTF-8 text when `mayChooseUtf8`), made with `make`; any other series is
  /// read in the constructor's code page. Chosen anew whenever a folder is listed. Without this
  /// call every series is read in the constructor's code page, as when the user named one.
  void LetSeriesChooseCodePage(TextCodecMaker make, bool mayChooseUtf8) {
    listing_.LetSeriesChooseCodePage(std::move(make), mayChooseUtf8);
  }

  /// Start-up: lists the program's own folder and unlocks the value boxes when it holds data files.
  void Form_Load();
  /// Asks for a folder and lists it. A cancelled dialog changes nothing.
  void Command1_Click();
  void Text2_Change();
  /// The header-line count takes digits and Backspace only; false cancels the typed character.
  bool Text2_KeyPress(unsigned keyCode);
  void Text3_Change();
  /// The run over the listed series, with its progress in Label9 and a notice at the end. The
  /// window stays busy meanwhile: it paints, and takes no input.
  void Command2_Click();

  const std::filesystem::path& FolderPath() const { return listing_.Folder(); }

 private:
  /// Lists `folder` as the data folder and shows it.
  void ShowListing(std::filesystem::path folder);
  void ApplyFileStates(std::size_t fileCount);
  void Judge();
  /// The run itself; the message to show when it fails.
  std::optional<std::string> Run();
  /// "运行中... 37/200" in Label9, painted at once.
  void ShowProgress(std::size_t filesRead, std::size_t filesListed);
  /// The key check of the current key value; a short reason for Label6 when it cannot be made.
  std::optional<std::string> CheckCurrentKey(KeyVerdict* verdict) const;
  /// The folder listed, with the header lines as Text2 holds them now.
  Series CurrentSeries() const;

  Controls& controls_;
  FormHost& host_;
  FileSystem& fs_;
  SeriesListing listing_;  ///< FolderPath, the data file list and the series' code page
  std::string keyValue_;   ///< KeyValue: Text3 as last copied (UTF-8); the run uses this copy
};

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_FORM1_H_
