#ifndef KESMARO_UI_FORM1_H_
#define KESMARO_UI_FORM1_H_

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/code_page.h"
#include "core/data_file_list.h"
#include "core/error.h"
#include "core/file_system.h"
#include "core/key_check.h"
#include "core/text_codec.h"
#include "ui/controls.h"

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
    makeCodec_ = std::move(make);
    mayChooseUtf8_ = mayChooseUtf8;
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

  const std::filesystem::path& FolderPath() const { return folderPath_; }

 private:
  void ShowListing();
  void ApplyFileStates(std::size_t fileCount);
  void Judge();
  /// The run itself; the message to show when it fails.
  std::optional<std::string> Run();
  /// "运行中... 37/200" in Label9, painted at once.
  void ShowProgress(std::size_t filesRead, std::size_t filesListed);
  /// The key check of the current key value; a short reason for Label6 when it cannot be made.
  std::optional<std::string> CheckCurrentKey(KeyVerdict* verdict) const;

  Controls& controls_;
  FormHost& host_;
  FileSystem& fs_;
  const TextCodec& baseCodec_;
  TextCodecMaker makeCodec_;
  bool mayChooseUtf8_ = false;
  std::unique_ptr<TextCodec> seriesCodec_;  ///< the code page the listed series chose, if any
  const TextCodec* codec_;                  ///< the listed series' code page

  std::filesystem::path folderPath_;
  DataFileList files_;
  std::string keyValue_;  ///< KeyValue: Text3 as last copied (UTF-8); the run uses this copy
};

/// The Chinese message of a failed run, naming the file (`file`: the error's, as the window shows
/// it) and the cause.
std::string RunErrorMessage(const Error& error, std::string_view file);

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_FORM1_H_
