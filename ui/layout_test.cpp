#include "ui/layout.h"

#include <gtest/gtest.h>

namespace kesmaro::ui {
namespace {

TEST(LayoutTest, EveryControlLiesInsideItsFrameAndItsWindow) {
  const struct {
    const WindowLayout& window;
    std::span<const ControlRow> rows;
    ControlId id;
  } windows[] = {{Form1Window(), Form1Layout(), ControlId::kForm1},
                 {TableFormWindow(), TableFormLayout(), ControlId::kTableForm}};
  for (const auto& [window, rows, id] : windows) {
    for (const ControlRow& row : rows) {
      const TwipRect rect = FormRect(row.id);
      EXPECT_GE(rect.left, 0) << row.name;
      EXPECT_LE(rect.left + rect.width, window.innerWidth) << row.name;
      EXPECT_LE(rect.top + rect.height, window.innerHeight) << row.name;
      EXPECT_EQ(&Row(row.id), &row) << row.name;
      if (row.container != id) {
        const ControlRow& frame = Row(row.container);
        EXPECT_EQ(frame.kind, ControlKind::kFrame) << row.name;
        EXPECT_EQ(frame.container, id) << row.name;
        EXPECT_LE(row.left + row.width, frame.width) << row.name;
        EXPECT_LE(row.top + row.height, frame.height) << row.name;
      }
    }
  }
}

}  // namespace
}  // namespace kesmaro::ui
