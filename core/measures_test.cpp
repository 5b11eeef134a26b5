#include "core/measures.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

TEST(MeasuresTest, SumCarriesItsRoundingErrors) {
  Sum sum;
  for (int i = 0; i < 1000; ++i) sum.Add(0.1);
  EXPECT_EQ(sum.Value() / 1000, 0.1);
}

}  // namespace
}  // namespace kesmaro
