#ifndef KESMARO_UI_WIN32_CHART_VIEW_H_
#define KESMARO_UI_WIN32_CHART_VIEW_H_

#include <windows.h>

#include <optional>

#include "chart/chart_layout.h"
#include "ui/win32/window_class.h"

namespace kesmaro::ui::win32 {

/// A child window of class "KesmaroChart" that paints a table's chart with GDI, laid out at its
/// own client size (in pixels at 96 DPI, drawn scaled to the display's); empty until a chart is set.
class ChartView {
 public:
  ChartView() = default;
  ChartView(const ChartView&) = delete;
  ChartView& operator=(const ChartView&) = delete;
  ~ChartView();

  /// Creates the child window; false when it could not be made. `rect` in pixels of the parent's
  /// client area.
  bool Create(HWND parent, int controlId, const RECT& rect);
  HWND Handle() const { return hwnd_; }

  /// nullopt: the view is empty, in the dialog colour. Repaints.
  void SetChart(std::optional<ChartInput> chart);
  const std::optional<ChartInput>& Chart() const { return chart_; }

 private:
  template <typename Window>
  friend LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  /// The whole client area onto `target`, drawn off screen first so that it never flickers.
  void Paint(HDC target) const;

  HWND hwnd_ = nullptr;
  std::optional<ChartInput> chart_;
};

/// The chart drawn on `dc` (a window's or a memory DC's), through the one walk (DrawChart), in the
/// DC's logical units.
void PaintChart(HDC dc, const ChartLayout& layout);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_CHART_VIEW_H_
