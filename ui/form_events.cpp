#include "ui/form_events.h"

#include <algorithm>
#include <array>
#include <exception>

#include "ui/wording.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;
using enum UserEvent;

constexpr std::array kEvents{
    FormEvent{kCommand1, kClick, &Form1::Command1_Click},
    FormEvent{kCommand2, kClick, &Form1::Command2_Click},
    FormEvent{kText2, kChange, &Form1::Text2_Change},
    FormEvent{kText3, kChange, &Form1::Text3_Change},
};

}  // namespace

std::span<const FormEvent> Form1Events() { return kEvents; }

Handler HandlerOf(ControlId control, UserEvent event) {
  const auto found = std::find_if(kEvents.begin(), kEvents.end(), [&](const FormEvent& row) {
    return row.control == control && row.event == event;
  });
  return found == kEvents.end() ? nullptr : found->handler;
}

std::optional<std::string> RunHandler(Form1& form, Handler handler) {
  try {
    (form.*handler)();
  } catch (const std::exception& failure) {
    return std::string(wording::kHandlerFailed) + failure.what();
  }
  return std::nullopt;
}

}  // namespace kesmaro::ui
