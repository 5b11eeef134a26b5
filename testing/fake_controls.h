#ifndef KESMARO_TESTING_FAKE_CONTROLS_H_
#define KESMARO_TESTING_FAKE_CONTROLS_H_

// The windows' controls as plain values, for the form logic's tests.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_layout.h"
#include "ui/controls.h"
#include "ui/layout.h"

namespace kesmaro::ui {

/// Every control of both windows, starting as the layout tables say.
class FakeControls : public Controls {
 public:
  struct State {
    std::string text;
    bool enabled = true;
    bool readOnly = false;
    bool selected = false;
    Background background{};
  };

  FakeControls() {
    for (const auto rows : {Form1Layout(), TableFormLayout()}) {
      for (const ControlRow& row : rows) {
        controls[row.id] =
            State{std::string(row.caption), row.enabled, row.readOnly, row.selected, row.background};
      }
    }
  }

  std::string Text(ControlId id) const override { return controls.at(id).text; }
  void SetText(ControlId id, std::string_view text) override { controls.at(id).text = text; }
  void SetEnabled(ControlId id, bool enabled) override { controls.at(id).enabled = enabled; }
  void SetReadOnly(ControlId id, bool readOnly) override { controls.at(id).readOnly = readOnly; }
  void SetBackground(ControlId id, Background background) override {
    controls.at(id).background = background;
  }
  bool IsSelected(ControlId id) const override { return controls.at(id).selected; }
  void ShowChart(ControlId /*id*/, const ChartInput* shown) override {
    chart = shown ? std::optional<ChartInput>(*shown) : std::nullopt;
  }
  void Repaint() override { runLog.push_back(controls.at(statusLabel).text); }
  void SetBusy(bool busy) override { runLog.push_back(busy ? "busy" : "idle"); }

  std::map<ControlId, State> controls;
  std::optional<ChartInput> chart;             ///< the chart view's
  ControlId statusLabel = ControlId::kLabel9;  ///< what a repaint logs
  std::vector<std::string> runLog;  ///< the status label as each repaint showed it, and "busy" / "idle"
};

}  // namespace kesmaro::ui

#endif  // KESMARO_TESTING_FAKE_CONTROLS_H_
