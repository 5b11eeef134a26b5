#ifndef KESMARO_UI_FORM_EVENTS_H_
#define KESMARO_UI_FORM_EVENTS_H_

// Which user event on which control runs which handler of a window's form logic: the tables every
// window backend forwards its toolkit's events by, one a window. The six-step window's is here;
// the table window's is beside its form (ui/table_form.h), in the library that links the chart.

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/layout.h"
#include "ui/wording.h"

namespace kesmaro::ui {

class Form1;

/// What the user does to a control: clicks a button (an option button or a check box too), or
/// changes an edit box's text.
enum class UserEvent { kClick, kChange };

/// Whether a key typed into a box of a count (header lines, a column) is taken: digits and
/// Backspace only.
bool TakesCountKey(unsigned keyCode);

/// The header-line count in a box, which a paste may fill with any text: its leading number as a
/// file's name is read, rounded to the nearest whole number, halves to even; 0 without one.
std::int64_t HeaderLineCount(std::string_view typed);

template <typename Form>
using FormHandler = void (Form::*)();

template <typename Form>
struct EventRow {
  ControlId control;
  UserEvent event;
  FormHandler<Form> handler;
};

/// Every control event the six-step window's form logic has a handler for; a backend forwards
/// these and no others.
std::span<const EventRow<Form1>> Form1Events();

/// Runs `handler` on `form`. Nothing it throws may cross a toolkit's event loop, which would end
/// the program: the failure comes back as the text of an error notice (title wording::kErrorTitle).
template <typename Form>
std::optional<std::string> RunHandler(Form& form, FormHandler<Form> handler) {
  try {
    (form.*handler)();
  } catch (const std::exception& failure) {
    return std::string(wording::kHandlerFailed) + failure.what();
  }
  return std::nullopt;
}

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_FORM_EVENTS_H_
