#ifndef KESMARO_UI_FORM_EVENTS_H_
#define KESMARO_UI_FORM_EVENTS_H_

// Which user event on which control runs which handler of Form1: the one table every window
// backend forwards its toolkit's events by.

#include <optional>
#include <span>
#include <string>

#include "ui/form1.h"
#include "ui/layout.h"

namespace kesmaro::ui {

/// What the user does to a control: clicks a button, or changes an edit box's text.
enum class UserEvent { kClick, kChange };

using Handler = void (Form1::*)();

struct FormEvent {
  ControlId control;
  UserEvent event;
  Handler handler;
};

/// Every control event Form1 has a handler for; a backend forwards these and no others.
std::span<const FormEvent> Form1Events();

/// The handler of `event` on `control`; nullptr when Form1 has none.
Handler HandlerOf(ControlId control, UserEvent event);

/// Runs `handler` on `form`. Nothing it throws may cross a toolkit's event loop, which would end
/// the program: the failure comes back as the text of an error notice (title wording::kErrorTitle).
std::optional<std::string> RunHandler(Form1& form, Handler handler);

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_FORM_EVENTS_H_
