#include "ui/form_events.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/table/decimal.h"
#include "ui/form1.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;
using enum UserEvent;

constexpr std::array<EventRow<Form1>, 4> kForm1Events{{
    {kCommand1, kClick, &Form1::Command1_Click},
    {kCommand2, kClick, &Form1::Command2_Click},
    {kText2, kChange, &Form1::Text2_Change},
    {kText3, kChange, &Form1::Text3_Change},
}};

}  // namespace

bool TakesCountKey(unsigned keyCode) {
  constexpr unsigned kBackspace = 8;
  return (keyCode >= '0' && keyCode <= '9') || keyCode == kBackspace;
}

std::int64_t HeaderLineCount(std::string_view typed) {
  const double rounded = std::nearbyint(LeadingNumber(typed));  // the default mode: halves to even
  constexpr double kLargest = 9.0e18;                           // more lines than any file holds
  return static_cast<std::int64_t>(std::clamp(rounded, -kLargest, kLargest));
}

std::span<const EventRow<Form1>> Form1Events() { return kForm1Events; }

}  // namespace kesmaro::ui
