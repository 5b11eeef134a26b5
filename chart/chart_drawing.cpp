#include "chart/chart_drawing.h"

#include <vector>

namespace kesmaro {
namespace {

constexpr ChartColour kPaper = 0xFFFFFF;
constexpr ChartColour kInk = 0x000000;
/// Light enough that the line stays in front of it.
constexpr ChartColour kGridColour = 0xE4E4E4;
constexpr ChartColour kFrameColour = 0x888888;
constexpr ChartColour kLineColour = 0x1F5FA8;
constexpr double kLineWidth = 1.5;
/// A point stands out from its line, and a point alone between two gaps still shows.
constexpr double kDotRadius = 2.5;

constexpr double kTextSize = 12;
constexpr ChartTextStyle kPageTitle{16, true, TextAnchor::kMiddle, kInk};
constexpr ChartTextStyle kPanelTitle{kTextSize, true, TextAnchor::kStart, kInk};
constexpr ChartTextStyle kYLabel{kTextSize, false, TextAnchor::kEnd, kInk};
constexpr ChartTextStyle kXLabel{kTextSize, false, TextAnchor::kMiddle, kInk};

/// The page title's baseline, in the band above the first panel.
constexpr double kPageTitleBaseline = 26;
/// A panel title's baseline above its frame.
constexpr double kPanelTitleRaise = 7;
/// Between a y label's end and the frame.
constexpr double kYLabelGap = 6;
/// From a tick to its label's baseline: a third of the digits' height, which centres them on it.
constexpr double kYLabelDrop = 4;
/// The x labels' and the caption's baselines under the axis.
constexpr double kXLabelDrop = 16;
constexpr double kCaptionDrop = 36;

void DrawPanel(const ChartLayout& layout, const PanelLayout& panel, ChartCanvas& canvas) {
  canvas.Text({layout.left, panel.top - kPanelTitleRaise}, panel.title, kPanelTitle);
  std::vector<ChartSegment> grid;
  for (const ChartTick& tick : panel.yTicks)
    grid.push_back({{layout.left, tick.pixel}, {layout.right, tick.pixel}});
  for (const ChartTick& tick : layout.xTicks)
    grid.push_back({{tick.pixel, panel.top}, {tick.pixel, panel.bottom}});
  if (!grid.empty()) canvas.Grid(grid, kGridColour);
  canvas.Frame(layout.left, panel.top, layout.right, panel.bottom, kFrameColour);
  for (const ChartTick& tick : panel.yTicks) {
    canvas.Text({layout.left - kYLabelGap, tick.pixel + kYLabelDrop}, tick.label, kYLabel);
  }
  // The dots go over every line, so that a line's end never covers its neighbour's dot.
  std::vector<ChartPoint> dots;
  for (const std::vector<ChartPoint>& run : panel.runs) {
    if (run.size() > 1) canvas.Line(run, kLineWidth, kLineColour);
    dots.insert(dots.end(), run.begin(), run.end());
  }
  if (!dots.empty()) canvas.Dots(dots, kDotRadius, kLineColour);
}

}  // namespace

void DrawChart(const ChartLayout& layout, ChartCanvas& canvas) {
  canvas.Page(layout.width, layout.height, kPaper, kTextSize, layout.title);
  canvas.Text({layout.width / 2, kPageTitleBaseline}, layout.title, kPageTitle);
  for (const PanelLayout& panel : layout.panels) DrawPanel(layout, panel, canvas);
  for (const ChartTick& tick : layout.xTicks)
    canvas.Text({tick.pixel, layout.axis + kXLabelDrop}, tick.label, kXLabel);
  canvas.Text({(layout.left + layout.right) / 2, layout.axis + kCaptionDrop}, layout.xTitle, kXLabel);
}

}  // namespace kesmaro
