#ifndef KESMARO_TESTING_STATUS_TESTING_H_
#define KESMARO_TESTING_STATUS_TESTING_H_

// EXPECT_OK / ASSERT_OK: a Status is empty on success, so these read the way they check, and a
// failure prints the error. RowName and InstructionsName: the name generators of the tables of
// cases and of the line searches' instruction sets.

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "core/run/line_search.h"

namespace kesmaro {

inline ::testing::AssertionResult IsOk(const char* expression, const Status& status) {
  if (!status) return ::testing::AssertionSuccess();
  const std::u8string file = status->file.u8string();
  return ::testing::AssertionFailure() << expression << " failed: " << status->What() << " \""
                                       << std::string(file.begin(), file.end()) << "\" " << status->cause;
}

/// Names each case of a parameterised table after its row's `name`, so a failure says which row.
struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    return info.param.name;
  }
};

/// Every set of instructions a line search runs on, each named, so a failure says which.
inline const auto kEveryInstructionSet =
    ::testing::Values(LineSearch::Instructions::kFastest, LineSearch::Instructions::kPortable);
inline std::string InstructionsName(const ::testing::TestParamInfo<LineSearch::Instructions>& info) {
  return info.param == LineSearch::Instructions::kFastest ? "Fastest" : "Portable";
}

}  // namespace kesmaro

#define EXPECT_OK(status) EXPECT_PRED_FORMAT1(::kesmaro::IsOk, status)
#define ASSERT_OK(status) ASSERT_PRED_FORMAT1(::kesmaro::IsOk, status)

#endif  // KESMARO_TESTING_STATUS_TESTING_H_
