#include "core/table/table_item.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace kesmaro {
namespace {

// What each text is, as an item, is the table's (table_test); here, the reason a text is none,
// which the front ends word.
TEST(TableItemTest, SaysWhyATextIsNoItem) {
  const std::pair<const char*, std::optional<ItemFault>> cases[] = {{"1", std::nullopt},
                                                                    {"5.5e", ItemFault::kNotANumber},
                                                                    {"550,5", ItemFault::kNotANumber},
                                                                    {"area:5", ItemFault::kNotARange},
                                                                    {"max:a:b", ItemFault::kNotARange},
                                                                    {"sum:1:2", ItemFault::kNotARange}};
  for (const auto& [text, expected] : cases) {
    ItemFault fault{};
    const bool parsed = ParseTableItem(text, DecimalMark::kPoint, &fault).has_value();
    EXPECT_EQ(parsed ? std::nullopt : std::optional(fault), expected) << text;
  }
}

}  // namespace
}  // namespace kesmaro
