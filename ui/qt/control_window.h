#ifndef KESMARO_UI_QT_CONTROL_WINDOW_H_
#define KESMARO_UI_QT_CONTROL_WINDOW_H_

#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/form_events.h"
#include "ui/layout.h"

namespace kesmaro::ui::qt {

/// A window on Qt Widgets built from its layout table: creates the real widgets, each named
/// after its row ("Text3"), and forwards their events to its form logic's handlers. It holds no
/// logic of its own; each window derives from it to connect its form.
class ControlWindow : public QWidget, public Controls {
 public:
  /// Makes the widget of a chart row as a child of `parent`. The window that has one brings it, so
  /// that a window without a chart links no chart view.
  using ChartMaker = std::function<QWidget*(QWidget* parent)>;

  ControlWindow(const WindowLayout& window, std::span<const ControlRow> rows, std::string_view name,
                QWidget* parent = nullptr, const ChartMaker& makeChart = {});
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() override;

  /// The real widget; tests drive it with QTest.
  QWidget* Control(ControlId id) const;

  // Controls
  std::string Text(ControlId id) const override;
  void SetText(ControlId id, std::string_view text) override;
  void SetEnabled(ControlId id, bool enabled) override;
  void SetReadOnly(ControlId id, bool readOnly) override;
  void SetBackground(ControlId id, Background background) override;
  bool IsSelected(ControlId id) const override;
  /// A window without a chart view has nothing to draw in; the one with a chart overrides this.
  void ShowChart(ControlId id, const ChartInput* chart) override;
  void Repaint() override;
  void SetBusy(bool busy) override;

 protected:
  /// Forwards every event of `events` to its handler on `form`, then runs `load` on it.
  template <typename Form>
  void Connect(Form& form, std::span<const EventRow<Form>> events, FormHandler<Form> load) {
    for (const EventRow<Form>& row : events) {
      Bind(row.control, row.event,
           [this, &form, handler = row.handler] { Report(RunHandler(form, handler)); });
    }
    Report(RunHandler(form, load));
  }
  /// Only the characters `accept` takes are typed into `box`; an input method would bypass it.
  void FilterKeys(ControlId box, std::function<bool(unsigned)> accept);

  /// While busy, drops every user input and keeps the window from being closed; filters the
  /// characters typed into the boxes of FilterKeys.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Bind(ControlId id, UserEvent event, std::function<void()> handler);
  /// What a handler threw, in an error box.
  void Report(const std::optional<std::string>& failure);
  /// Twips to pixels at the screen's logical DPI; every size and position goes through here.
  int Px(int twips) const;
  QWidget* CreateControl(const ControlRow& row, const ChartMaker& makeChart);

  bool busy_ = false;
  double dpi_ = 96;
  std::array<QWidget*, kControlCount> controls_{};
  std::vector<std::pair<QObject*, std::function<bool(unsigned)>>> keyFilters_;
};

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_CONTROL_WINDOW_H_
