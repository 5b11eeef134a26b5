#include "core/fields.h"

#include <gtest/gtest.h>

#include <string>

namespace kesmaro {
namespace {

TEST(FieldsTest, SplitsAtRunsOfSeparators) {
  const struct {
    const char* line;
    std::size_t k;
    DecimalMark mark;
    const char* field;
  } cases[] = {
      {" \t1,;\t a;b", 2, DecimalMark::kPoint, "a"},     {"1 a", 3, DecimalMark::kPoint, ""},
      {"550,5;0,418", 2, DecimalMark::kPoint, "5"},      {"550,5;0,418", 2, DecimalMark::kComma, "0,418"},
      {"550,5 \t 0,418;x", 3, DecimalMark::kComma, "x"}, {"", 1, DecimalMark::kPoint, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Field(c.line, c.k, c.mark), c.field) << c.line << " field " << c.k;
}

}  // namespace
}  // namespace kesmaro
