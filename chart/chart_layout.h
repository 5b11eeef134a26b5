#ifndef KESMARO_CHART_CHART_LAYOUT_H_
#define KESMARO_CHART_CHART_LAYOUT_H_

// The trend chart of a series: one panel per column, stacked, over one shared x axis. Its input
// is a plain value, its layout a pure function of it; writers turn the layout into a picture.

#include <optional>
#include <string>
#include <vector>

namespace kesmaro {

/// One column across the series: a value per file, nullopt where the file has none.
struct ChartPanel {
  std::string title;                     ///< UTF-8
  std::vector<std::optional<double>> y;  ///< one per x; a missing or non-finite value is a gap
  int scale = 0;                         ///< y are in units of 10^scale, for numbers beyond a double
};

struct ChartInput {
  std::string title;      ///< UTF-8, the series' folder name
  std::string xTitle;     ///< UTF-8, what the x values are
  std::vector<double> x;  ///< the files' positions on the x axis, in series order
  std::vector<ChartPanel> panels;
  bool decimalComma = false;  ///< tick labels are written with a decimal comma
};

/// A tick of an axis: its value, where it is drawn (pixels) and its label.
struct ChartTick {
  double value = 0;
  double pixel = 0;
  std::string label;
};

/// An axis of "nice" ticks: multiples of a step of 1, 2 or 5 times a power of ten.
struct ChartAxis {
  double low = 0;                ///< the value at the axis' start
  double high = 1;               ///< the value at its end, above `low`
  std::vector<ChartTick> ticks;  ///< ascending, each with its label; pixels still 0
  int scale = 0;                 ///< low, high and the ticks' values are in units of 10^scale
};

/// The axis for values from `lowest` to `highest` (finite, lowest <= highest) in units of
/// 10^`scale`, with about five ticks labelled with the values they stand for. `cover`: the axis
/// runs from a tick at or below `lowest` to one at or above `highest`; otherwise it runs from
/// `lowest` to `highest` and the ticks lie within. Equal values get an axis of their own size
/// around them (0 one of -1 to 1). Values beyond ±1e300 get an axis in a larger unit, so that no
/// difference of two overflows.
ChartAxis NiceAxis(double lowest, double highest, bool cover, bool decimalComma = false, int scale = 0);

struct ChartPoint {
  double x = 0;  ///< pixels from the left
  double y = 0;  ///< pixels from the top
};

/// A panel as drawn: its frame, its y ticks and its line, broken where a value is missing.
struct PanelLayout {
  std::string title;
  double top = 0;     ///< of the frame, in pixels
  double bottom = 0;  ///< of the frame
  std::vector<ChartTick> yTicks;
  std::vector<std::vector<ChartPoint>> runs;  ///< the points between gaps, each run joined by a line
};

struct ChartLayout {
  double width = 0;
  double height = 0;
  std::string title;
  std::string xTitle;
  double left = 0;   ///< the frames' left edge, shared by every panel
  double right = 0;  ///< their right edge
  double axis = 0;   ///< the shared x axis' line, under the last panel, where its labels hang
  std::vector<ChartTick> xTicks;
  std::vector<PanelLayout> panels;
};

/// The size a chart is laid out at, in pixels.
struct ChartPage {
  double width = 760;
  double height = 0;  ///< 0: as tall as the panels are at their own height
};

/// Where everything of the chart goes, in pixels. The x axis spans the series' x values, with
/// whole-number ticks when they are whole numbers, the y axis of each panel covers its values; an
/// empty chart has no ticks. The frames span the page's width but for the margins; a page's
/// height is shared among the panels in whole pixels, but no panel is made too small to read, so
/// a small page gets a taller layout. (A page too narrow gets a wider one likewise.)
ChartLayout LayOutChart(const ChartInput& input, ChartPage page = {});

}  // namespace kesmaro

#endif  // KESMARO_CHART_CHART_LAYOUT_H_
