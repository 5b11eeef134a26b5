#ifndef KESMARO_CHART_CHART_DRAWING_H_
#define KESMARO_CHART_CHART_DRAWING_H_

// The chart as one walk over its layout, drawn on a small canvas. The walk decides what is drawn,
// where, how large, in which colour and in which order; a canvas (the SVG writer, a QPainter, a
// GDI device context) only puts each call on its surface, so every picture of a chart looks alike.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "chart/chart_layout.h"

namespace kesmaro {

/// 0xRRGGBB.
using ChartColour = std::uint32_t;

/// Windows' YaHei and SimHei, macOS' PingFang, Linux's Noto and WenQuanYi, so that Chinese headers
/// show wherever the chart is drawn; after them a canvas falls back to its sans-serif.
inline constexpr std::array<std::string_view, 6> kChartFontFamilies = {
    "Microsoft YaHei",    "SimHei", "PingFang SC", "Noto Sans CJK SC", "Source Han Sans SC",
    "WenQuanYi Micro Hei"};

/// Which point of a text's baseline its position names.
enum class TextAnchor { kStart, kMiddle, kEnd };

struct ChartTextStyle {
  double size = 12;  ///< the font's size in pixels (its em, as CSS's font-size)
  bool bold = false;
  TextAnchor anchor = TextAnchor::kStart;
  ChartColour colour = 0x000000;
};

/// A line of the grid, horizontal or vertical.
struct ChartSegment {
  ChartPoint from;
  ChartPoint to;
};

/// A surface the chart is drawn on, in pixels from the top left. Each call draws over the
/// earlier ones.
class ChartCanvas {
 public:
  virtual ~ChartCanvas() = default;

  /// The first call: the page, `width` × `height`, filled with `background`. `title` names the
  /// picture where the surface keeps a name; `textSize` is the size most texts have.
  virtual void Page(double width, double height, ChartColour background, double textSize,
                    std::string_view title) = 0;
  /// UTF-8 `text` on a baseline through `at`; what is not UTF-8 the canvas shows replaced.
  virtual void Text(ChartPoint at, std::string_view text, const ChartTextStyle& style) = 0;
  /// Lines one pixel wide.
  virtual void Grid(std::span<const ChartSegment> lines, ChartColour colour) = 0;
  /// The outline of a rectangle, one pixel wide.
  virtual void Frame(double left, double top, double right, double bottom, ChartColour colour) = 0;
  /// At least two points, joined in turn by a line `width` pixels wide.
  virtual void Line(std::span<const ChartPoint> points, double width, ChartColour colour) = 0;
  /// A filled disc around each point.
  virtual void Dots(std::span<const ChartPoint> centres, double radius, ChartColour colour) = 0;
};

/// The chart on `canvas`: the page and its title, then each panel (its title, grid, frame, y
/// labels, lines and dots), then the x axis' labels and caption.
void DrawChart(const ChartLayout& layout, ChartCanvas& canvas);

}  // namespace kesmaro

#endif  // KESMARO_CHART_CHART_DRAWING_H_
