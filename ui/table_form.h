#ifndef KESMARO_UI_TABLE_FORM_H_
#define KESMARO_UI_TABLE_FORM_H_

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/file_system.h"
#include "core/table/table_job.h"
#include "core/text/text_codec.h"
#include "ui/controls.h"
#include "ui/form_events.h"
#include "ui/series_listing.h"

namespace kesmaro::ui {

/// The table window's state and handlers, apart from any window system: several values and
/// measures taken from every file of a series, written as NAME.csv and NAME.svg beside the data,
/// and the chart shown. It runs the very job `kesmaro-cli table --plot` runs. Nothing here ends the
/// program: a failure is shown in the window and the state stays sound.
class TableForm {
 public:
  /// `codec` is the data code page.
  TableForm(Controls& controls, FormHost& host, FileSystem& fs, const TextCodec& codec);

  /// As Form1's: each listed series may choose UTF-16 or UTF-8 by its first file.
  void LetSeriesChooseCodePage(TextCodecMaker make, bool mayChooseUtf8) {
    listing_.LetSeriesChooseCodePage(std::move(make), mayChooseUtf8);
  }
  /// The folder Form_Load lists instead of the program's own (one named on the command line).
  void StartIn(std::filesystem::path folder) { startFolder_ = std::move(folder); }

  /// Start-up: lists the start folder and unlocks the inputs when it holds data files.
  void Form_Load();
  /// Asks for a folder and lists it. A cancelled dialog changes nothing.
  void BrowseButton_Click();
  /// Any box or choice that changes what a run would make: judged again at once.
  void Input_Change();
  /// The header-line count and the column take digits and Backspace only; false cancels the key.
  bool Digits_KeyPress(unsigned keyCode) const;
  /// Writes NAME.csv and NAME.svg in the data folder and shows the chart, or names what failed.
  void ExecuteButton_Click();

  /// The job Execute would run now; nullopt while an input does not read.
  std::optional<TableJob> Job() const;

 private:
  /// What the inputs ask for, or the first reason they cannot run, worded for the verdict label.
  struct Reading {
    std::optional<TableJob> job;
    std::string problem;
  };
  Reading Read() const;
  void ShowListing(std::filesystem::path folder);
  void ApplyFileStates();
  /// The verdict label's note on the first file: the exact values it does not hold, whose
  /// columns will be empty; nullopt with the reason when the first file cannot be checked.
  std::optional<std::string> FirstFileNote(const TableJob& job, std::string* note) const;
  /// The run of `job` itself: the status to show, or the message of what failed.
  std::optional<std::string> Run(const TableJob& job, std::string* status);

  Controls& controls_;
  FormHost& host_;
  FileSystem& fs_;
  SeriesListing listing_;
  std::filesystem::path startFolder_;
};

/// Every control event the table window's form logic has a handler for; a backend forwards these
/// and no others.
std::span<const EventRow<TableForm>> TableFormEvents();

/// The items typed into the box, a line each: blanks around them dropped, blank lines kept as
/// empty items so that a line's number is its place in the box.
std::vector<std::string> ItemLines(std::string_view text);

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_TABLE_FORM_H_
