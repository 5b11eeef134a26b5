#include "core/error.h"

#include <cstddef>
#include <iterator>

namespace kesmaro {
namespace {

constexpr std::string_view kCannotCheck = "无法检查该值";

// One row per ErrorKind, in its order.
constexpr ErrorWording kWordings[] = {
    {"cannot list folder", "无法列出文件夹中的文件", kCannotCheck},
    {"cannot open data file", "无法打开数据文件", "首个文件打不开"},
    {"cannot read data file", "读取数据文件时出错", "首个文件读取出错"},
    {"data file has fewer lines than the header-line count", "数据文件的行数少于要忽略的行数",
     "首个文件行数不足"},
    {"file name cannot be written in the data code page", "文件名中有当前代码页无法表示的字符", kCannotCheck},
    {"output file is one of the data files", "输出文件不能是数据文件之一", kCannotCheck},
    {"the output name cannot be used", "输出文件名不能使用", kCannotCheck},
    {"cannot write output file", "无法写入输出文件", kCannotCheck},
};
static_assert(std::size(kWordings) == static_cast<std::size_t>(ErrorKind::kWriteFailed) + 1);

constexpr ErrorWording kUnknown = {"failure", "处理失败", kCannotCheck};

}  // namespace

const ErrorWording& WordingOf(ErrorKind kind) {
  const auto row = static_cast<std::size_t>(kind);
  return row < std::size(kWordings) ? kWordings[row] : kUnknown;
}

}  // namespace kesmaro
