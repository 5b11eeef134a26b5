#include "ui/table_form.h"

#include <array>
#include <new>

#include "chart/table_chart.h"
#include "core/run/output_name.h"
#include "core/table/table.h"
#include "core/text/data_encoding.h"
#include "ui/run_message.h"
#include "ui/wording.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;
using enum UserEvent;
using namespace wording;

/// Every box and choice that changes what a run would make is judged again at once.
constexpr std::array<EventRow<TableForm>, 11> kTableFormEvents{{
    {kBrowseButton, kClick, &TableForm::BrowseButton_Click},
    {kSkipBox, kChange, &TableForm::Input_Change},
    {kItemsBox, kChange, &TableForm::Input_Change},
    {kExactOption, kClick, &TableForm::Input_Change},
    {kNearestOption, kClick, &TableForm::Input_Change},
    {kInterpolateOption, kClick, &TableForm::Input_Change},
    {kWithinBox, kChange, &TableForm::Input_Change},
    {kDecimalCommaCheck, kClick, &TableForm::Input_Change},
    {kColumnBox, kChange, &TableForm::Input_Change},
    {kNameBox, kChange, &TableForm::Input_Change},
    {kExecuteButton, kClick, &TableForm::ExecuteButton_Click},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

/// "550、560 和 570".
std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " 和 " : "、";
    text += names[i];
  }
  return text;
}

std::string FileName(const FormHost& host, const std::filesystem::path& path) {
  return host.PathToUtf8(path.filename());
}

}  // namespace

std::span<const EventRow<TableForm>> TableFormEvents() { return kTableFormEvents; }

std::vector<std::string> ItemLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

TableForm::TableForm(Controls& controls, FormHost& host, FileSystem& fs, const TextCodec& codec)
    : controls_(controls), host_(host), fs_(fs), listing_(fs, codec) {}

void TableForm::Form_Load() {
  ShowListing(startFolder_.empty() ? host_.ProgramFolder() : startFolder_);
  ApplyFileStates();
}

void TableForm::BrowseButton_Click() {
  std::filesystem::path chosen = host_.BrowseForFolder(kBrowseTitle);
  if (chosen.empty()) return;  // cancelled: the folder, its list and the controls stay as they were
  ShowListing(std::move(chosen));
  ApplyFileStates();
}

bool TableForm::Digits_KeyPress(unsigned keyCode) const { return TakesCountKey(keyCode); }

void TableForm::ShowListing(std::filesystem::path folder) {
  controls_.SetText(kFolderBox, host_.PathToUtf8(folder));
  listing_.List(std::move(folder), controls_.IsSelected(kAscOption) ? ".asc" : ".txt");
  controls_.SetText(kFileCountLabel, "文本文件个数： " + std::to_string(listing_.Files().FileCount()));
}

void TableForm::ApplyFileStates() {
  const bool present = listing_.Files().FileCount() > 0;
  for (ControlId input : {kSkipBox, kItemsBox}) controls_.SetEnabled(input, present);
  Input_Change();
}

void TableForm::Input_Change() {
  const bool present = listing_.Files().FileCount() > 0;
  controls_.SetEnabled(kWithinBox, controls_.IsSelected(kNearestOption));
  Reading reading = present ? Read() : Reading{};
  std::string verdict = reading.problem;
  if (reading.job) {
    std::string note;
    if (const std::optional<std::string> reason = FirstFileNote(*reading.job, &note)) {
      verdict = *reason;
      reading.job.reset();
    } else {
      verdict =
          std::string(kCanRun) + "（" + std::to_string(reading.job->request.items.size()) + " 项）" + note;
    }
  }
  controls_.SetText(kItemsVerdict, verdict);
  controls_.SetEnabled(kExecuteButton, reading.job.has_value());
}

std::optional<TableJob> TableForm::Job() const { return Read().job; }

TableForm::Reading TableForm::Read() const {
  Reading reading;
  TableJob job;
  TableRequest& request = job.request;
  request.mark = controls_.IsSelected(kDecimalCommaCheck) ? DecimalMark::kComma : DecimalMark::kPoint;
  const std::vector<std::string> lines = ItemLines(controls_.Text(kItemsBox));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    ItemFault fault{};
    std::optional<TableItem> item = ParseTableItem(lines[i], request.mark, &fault);
    if (!item) {
      reading.problem = "第 " + std::to_string(i + 1) + " 行 " + Quoted(lines[i]) +
                        (fault == ItemFault::kNotANumber ? " 不是数值" : " 不是数值，也不是范围");
      return reading;
    }
    request.items.push_back(std::move(*item));
  }
  if (request.items.empty()) {
    reading.problem = "请输入要提取的值，每行一项";
    return reading;
  }
  request.nearest = controls_.IsSelected(kNearestOption);
  request.interpolate = controls_.IsSelected(kInterpolateOption);
  if (const std::string within = controls_.Text(kWithinBox); request.nearest && !within.empty()) {
    request.within = ParseDistance(within, request.mark);
    if (!request.within) {
      reading.problem = "最大偏差 " + Quoted(within) + " 不是 0 或更大的数值";
      return reading;
    }
  }
  const std::string column = controls_.Text(kColumnBox);
  const std::optional<std::size_t> columnNumber = ParseColumn(column);
  if (!columnNumber) {
    reading.problem = "数据列 " + Quoted(column) + " 应是从 1 起的列号";
    return reading;
  }
  request.column = *columnNumber;
  request.baseline = controls_.IsSelected(kBaselineCheck);
  request.series = {listing_.Folder(), listing_.Files(), HeaderLineCount(controls_.Text(kSkipBox))};
  const std::string name = controls_.Text(kNameBox);
  if (name.empty()) {
    reading.problem = "请在第6步中输入要保存的文件名";
    return reading;
  }
  // A name the system's text cannot hold is refused when the run starts, with the reason.
  job.output = listing_.Folder() / host_.Utf8ToPath(name).value_or(std::filesystem::path());
  job.plot = true;
  job.nameScheme = host_.PathScheme();
  reading.job = std::move(job);
  return reading;
}

std::optional<std::string> TableForm::FirstFileNote(const TableJob& job, std::string* note) const {
  // The first file alone, read as the run reads it; only exact values may find no line there. With
  // no such value it is still read, for its header lines.
  TableRequest first = job.request;
  first.series.list.FileNames.resize(1);
  std::erase_if(first.items,
                [&](const TableItem& item) { return first.nearest || first.interpolate || item.IsRange(); });
  const TextCodec& codec = listing_.Codec();
  DataFileSystem data(fs_, codec.Page());
  Table table;
  TableSummary summary;
  if (const Status error = MakeTable(data, codec, first, &table, &summary))
    return std::string(WordingOf(error->kind).firstFile);
  std::vector<std::string> missing;
  for (std::size_t i = 0; i < table.header.size(); ++i) {
    if (table.rows[0].cells[i].empty()) missing.push_back(table.header[i]);
  }
  if (!missing.empty()) *note = "\n首个文件中没有 " + Listed(missing) + "，其列将为空";
  return std::nullopt;
}

void TableForm::ExecuteButton_Click() {
  const std::optional<TableJob> job = Job();
  if (!job) return;  // Execute is off then; a click that came all the same does nothing
  std::optional<std::string> failure;
  std::string status;
  {
    const BusyWindow busy(controls_, kStatusLabel);
    controls_.SetText(kStatusLabel, kRunning);
    controls_.Repaint();
    try {
      failure = Run(*job, &status);
    } catch (const std::bad_alloc&) {  // the table's cells are held until they are written
      failure = std::string(kOutOfMemory);
    }
  }
  if (failure) {
    host_.ShowError(*failure, kErrorTitle);
    return;
  }
  controls_.SetText(kStatusLabel, status);
}

std::optional<std::string> TableForm::Run(const TableJob& job, std::string* status) {
  const std::string typedName = controls_.Text(kNameBox);
  const std::optional<std::filesystem::path> name = host_.Utf8ToPath(typedName);
  if (!name) return "要保存的文件名无效。";
  // The name is typed into the window, so it only ever names a file in the data folder.
  if (const Status error = CheckOutputName(*name, ".csv", host_.PathScheme(), OutputNamePart::kWhole))
    return BadNameMessage(typedName, *error, 6);

  const TextCodec& codec = listing_.Codec();
  TableJobResult result;
  if (const Status error = RunTableJob(fs_, codec, job, &result))
    return RunErrorMessage(*error, host_.PathToUtf8(error->file));
  TableChart chart;
  if (const Status error =
          WriteTableChart(fs_, codec, result.table, listing_.Folder(), result.chartPath, &chart)) {
    // The table is in place by now; only the chart is missing.
    controls_.ShowChart(kChartView, nullptr);
    return RunErrorMessage(*error, host_.PathToUtf8(error->file),
                           "表格已写入 " + FileName(host_, result.csvPath) + "，图表没有写入。");
  }
  controls_.ShowChart(kChartView, &chart.input);

  const TableSummary& summary = result.summary;
  *status = "读取 " + std::to_string(summary.filesRead) + " 个文件，" + std::to_string(summary.values) +
            " 项，" + std::to_string(summary.filesRead * summary.values) + " 格中 " +
            std::to_string(summary.emptyCells) + " 格为空；\n已写入 " + FileName(host_, result.csvPath) +
            " 和 " + FileName(host_, result.chartPath);
  if (!chart.withoutNumbers.empty()) *status += "\n图表未画出没有数值的列 " + Listed(chart.withoutNumbers);
  if (summary.decimalCommaHint) {
    *status += "\n首个文件第 " + std::to_string(summary.decimalCommaHint->lineNumber) +
               " 行像是用小数逗号写的，请考虑勾选“小数逗号”";
  }
  return std::nullopt;
}

}  // namespace kesmaro::ui
