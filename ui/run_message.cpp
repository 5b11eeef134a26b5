#include "ui/run_message.h"

namespace kesmaro::ui {

std::string RunErrorMessage(const Error& error, std::string_view file, std::string_view written) {
  std::string message(WordingOf(error.kind).chinese);
  message += "。";
  if (!error.file.empty()) message += "\n\n文件：" + std::string(file);
  // The system's own words for its user, where it has them; its English ones otherwise.
  const std::string& cause = error.userCause.empty() ? error.cause : error.userCause;
  if (!cause.empty()) message += "\n原因：" + cause;
  message += "\n\n";
  message += written.empty() ? std::string(wording::kNothingWritten) + "，已有的文件保持原样。"
                             : std::string(written);
  return message;
}

std::string BadNameMessage(std::string_view typedName, const Error& error, int step) {
  return "文件名“" + std::string(typedName) + "”" + error.userCause + "不能用作文件名。\n\n请在第" +
         std::to_string(step) + "步中修改文件名。" + std::string(wording::kNothingWritten) + "。";
}

}  // namespace kesmaro::ui
