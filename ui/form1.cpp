#include "ui/form1.h"

#include <new>
#include <optional>
#include <utility>

#include "core/run/extraction_run.h"
#include "core/run/output_name.h"
#include "core/text/data_encoding.h"
#include "ui/form_events.h"
#include "ui/run_message.h"
#include "ui/wording.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;
using namespace wording;

}  // namespace

Form1::Form1(Controls& controls, FormHost& host, FileSystem& fs, const TextCodec& codec)
    : controls_(controls), host_(host), fs_(fs), listing_(fs, codec) {}

void Form1::Form_Load() {
  ShowListing(host_.ProgramFolder());
  // The controls start in the no-files states, so only files present changes them.
  if (listing_.Files().FileCount() > 0) ApplyFileStates(listing_.Files().FileCount());
}

void Form1::Command1_Click() {
  std::filesystem::path chosen = host_.BrowseForFolder(kBrowseTitle);
  if (chosen.empty()) return;  // cancelled: the folder, its list and the controls stay as they were
  ShowListing(std::move(chosen));
  ApplyFileStates(listing_.Files().FileCount());
  // The key check is not run again: a run now takes the new folder's list with the last key.
}

void Form1::Text2_Change() { Judge(); }

bool Form1::Text2_KeyPress(unsigned keyCode) { return TakesCountKey(keyCode); }

void Form1::Text3_Change() { Judge(); }

void Form1::Command2_Click() {
  std::optional<std::string> failure;
  {
    const BusyWindow busy(controls_, kLabel9);
    ShowProgress(0, listing_.Files().FileCount());
    try {
      failure = Run();
    } catch (const std::bad_alloc&) {  // the rows of a huge series are held until they are written
      failure = std::string(kOutOfMemory);
    }
  }
  if (failure) {
    host_.ShowError(*failure, kErrorTitle);
  } else {
    host_.ShowNotice(kDone, kNoticeTitle);
  }
}

void Form1::ShowListing(std::filesystem::path folder) {
  controls_.SetText(kText1, host_.PathToUtf8(folder));
  listing_.List(std::move(folder), controls_.IsSelected(kOption2) ? ".asc" : ".txt");
  controls_.SetText(kLabel8, std::to_string(listing_.Files().FileCount()));
}

void Form1::ApplyFileStates(std::size_t fileCount) {
  const bool present = fileCount > 0;
  controls_.SetReadOnly(kText3, !present);
  controls_.SetBackground(kText3, present ? Background::kWindow : Background::kGrey);
  controls_.SetEnabled(kText2, present);
  // Without data files there is nothing to run, whatever the last key check said.
  if (!present) controls_.SetEnabled(kCommand2, false);
}

void Form1::Judge() {
  keyValue_ = controls_.Text(kText3);
  if (listing_.Files().FileCount() == 0) return;  // the value boxes are locked then; nothing to check against

  KeyVerdict verdict;
  if (const std::optional<std::string> reason = CheckCurrentKey(&verdict)) {
    controls_.SetText(kLabel6, *reason);
    controls_.SetEnabled(kCommand2, false);
    return;
  }
  switch (verdict.kind) {
    case VerdictKind::kExact:
    case VerdictKind::kUniquePrefix:
      controls_.SetText(kLabel6, kCanRun);
      break;
    case VerdictKind::kMissing:
      controls_.SetText(kLabel6, kMissing);
      break;
    case VerdictKind::kAmbiguous:
      controls_.SetText(kLabel6, kNotPreciseEnough);
      break;
  }
  // A verdict that cannot run empties the name; one that can shows the name it proposes, if any.
  // The proposed name comes from the key or the data line, so it is text of the code page.
  if (!verdict.CanRun()) {
    controls_.SetText(kText4, "");
  } else if (verdict.proposedName) {
    if (const std::optional<std::string> name = listing_.Codec().DecodeToUtf8(*verdict.proposedName)) {
      controls_.SetText(kText4, *name);
    }
  }
  controls_.SetEnabled(kCommand2, verdict.CanRun());
}

std::optional<std::string> Form1::Run() {
  const TextCodec& codec = listing_.Codec();
  const std::optional<std::string> key = codec.EncodeFromUtf8(keyValue_);
  if (!key) return "要读取的值中有当前代码页无法表示的字符。";
  const std::string typedName = controls_.Text(kText4);
  const std::optional<std::filesystem::path> outputName = host_.Utf8ToPath(typedName);
  if (!outputName) return "要保存的文件名无效。";
  // The name may come from the data; it only ever names a file in the working folder.
  if (const Status error = CheckOutputName(*outputName, ".txt", host_.PathScheme(), OutputNamePart::kWhole)) {
    return BadNameMessage(typedName, *error, 5);
  }
  const RunRequest request{{*key, CurrentSeries()}, *outputName, host_.PathScheme()};
  RunSummary summary;
  const auto progress = [this](std::size_t filesRead, std::size_t filesListed) {
    ShowProgress(filesRead, filesListed);
  };
  DataFileSystem data(fs_, codec.Page());
  if (const Status error = RunExtraction(data, codec, request, &summary, progress))
    return RunErrorMessage(*error, host_.PathToUtf8(error->file));
  return std::nullopt;
}

void Form1::ShowProgress(std::size_t filesRead, std::size_t filesListed) {
  controls_.SetText(
      kLabel9, std::string(kRunning) + " " + std::to_string(filesRead) + "/" + std::to_string(filesListed));
  controls_.Repaint();
}

std::optional<std::string> Form1::CheckCurrentKey(KeyVerdict* verdict) const {
  const TextCodec& codec = listing_.Codec();
  const std::optional<std::string> key = codec.EncodeFromUtf8(keyValue_);
  if (!key) return "值中有无效字符";
  DataFileSystem data(fs_, codec.Page());
  if (const Status error = CheckKey(data, codec, SeriesRequest{*key, CurrentSeries()}, verdict)) {
    return std::string(WordingOf(error->kind).firstFile);
  }
  return std::nullopt;
}

Series Form1::CurrentSeries() const {
  return {listing_.Folder(), listing_.Files(), HeaderLineCount(controls_.Text(kText2))};
}

}  // namespace kesmaro::ui
