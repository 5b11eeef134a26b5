#include "chart/chart_layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>

#include "core/table/decimal.h"

namespace kesmaro {
namespace {

// The page, in pixels: a title band, then the panels one under another, then the x axis' labels.
constexpr double kLeft = 90;  // room for a y label such as -1.25e-10
constexpr double kRightMargin = 24;
constexpr double kTitleBand = 40;
constexpr double kPanelTitle = 22;
constexpr double kPlotHeight = 140;
constexpr double kPanelGap = 14;
constexpr double kAxisBand = 48;
/// The least a page leaves a panel's frame: room for a few ticks and for the line between them.
constexpr double kMinPlotWidth = 120;
constexpr double kMinPlotHeight = 48;
/// Between a frame and the ends of its axes, so that no point sits on the frame.
constexpr double kInset = 6;

constexpr int kTargetTicks = 5;
/// Values beyond it are taken in a unit of a larger power of ten, so that no difference of two
/// values overflows.
constexpr double kLargest = 1e300;
/// Values nearer 0 than this are drawn at 0, so that every step is a normal double.
constexpr double kSmallest = 1e-300;

/// mantissa × 10^exponent, an integer mantissa, as the double nearest to it.
double Scaled(double mantissa, int exponent) {
  // The powers of ten that doubles hold exactly.
  const auto size = static_cast<int>(std::size(kDoublePowers));
  if (exponent >= 0 && exponent < size) return mantissa * kDoublePowers[static_cast<std::size_t>(exponent)];
  if (exponent < 0 && -exponent < size) return mantissa / kDoublePowers[static_cast<std::size_t>(-exponent)];
  // Beyond them pow is not exact everywhere (MinGW's), but reading the decimal is.
  std::array<char, 64> text{};
  char* end =
      std::to_chars(text.data(), text.data() + text.size(), mantissa, std::chars_format::fixed, 0).ptr;
  *end++ = 'e';
  end = std::to_chars(end, text.data() + text.size(), exponent).ptr;
  double value = 0;
  std::from_chars(text.data(), end, value);
  return value;
}

double Drawable(double value) { return std::abs(value) < kSmallest ? 0 : value; }

/// A value in units of 10^scale, scale >= 0.
double InUnits(double value, int scale) { return scale == 0 ? value : value / Scaled(1, scale); }

/// q rounded to the nearest integer when it is one but for the error of a division.
double Snapped(double q) {
  const double nearest = std::round(q);
  return std::abs(q - nearest) <= 1e-9 * std::max(1.0, std::abs(nearest)) ? nearest : q;
}

struct Ticking {
  int mantissa = 1;
  int exponent = 0;
  double first = 0;  ///< the first tick's multiple of the step
  double last = 0;   ///< the last's
  double Count() const { return last - first + 1; }
};

Ticking TicksFor(double low, double high, int mantissa, int exponent, bool cover) {
  const double step = Scaled(mantissa, exponent);
  const double a = Snapped(low / step), b = Snapped(high / step);
  return cover ? Ticking{mantissa, exponent, std::floor(a), std::ceil(b)}
               : Ticking{mantissa, exponent, std::ceil(a), std::floor(b)};
}

/// The label of a tick of `value` × 10^scale.
std::string Label(double value, int exponent, bool fixed, bool decimalComma, int scale) {
  std::array<char, 64> text{};
  const std::to_chars_result end = fixed        ? std::to_chars(text.data(), text.data() + text.size(), value,
                                                                std::chars_format::fixed, std::max(0, -exponent))
                                   : value == 0 ? std::to_chars(text.data(), text.data() + text.size(), 0)
                                                : std::to_chars(text.data(), text.data() + text.size(), value,
                                                                std::chars_format::scientific);
  std::string label(text.data(), end.ptr);
  // 1.5e+09 is written 1.5e9, 2e-07 2e-7.
  if (const std::size_t e = label.find('e'); e != std::string::npos) {
    int power = 0;
    std::from_chars(label.data() + e + (label[e + 1] == '+' ? 2 : 1), label.data() + label.size(), power);
    label.resize(e + 1);
    label += std::to_string(power + scale);
  }
  if (decimalComma) std::replace(label.begin(), label.end(), '.', ',');
  return label;
}

/// Where a value in units of 10^scale is drawn on `axis`, from `start` to `end`.
double Pixel(double value, int scale, const ChartAxis& axis, double start, double end) {
  const double units = Drawable(InUnits(value, axis.scale - scale));
  return start + (units - axis.low) / (axis.high - axis.low) * (end - start);
}

std::vector<ChartTick> Placed(const ChartAxis& axis, double start, double end) {
  std::vector<ChartTick> ticks = axis.ticks;
  for (ChartTick& tick : ticks) tick.pixel = Pixel(tick.value, axis.scale, axis, start, end);
  return ticks;
}

bool Drawn(double x, const std::optional<double>& y) { return std::isfinite(x) && y && std::isfinite(*y); }

/// NiceAxis, with steps of at least 10^smallestExponent (of the values, not of their units).
ChartAxis AxisWithSteps(double lowest, double highest, bool cover, bool decimalComma, int smallestExponent,
                        int scale) {
  double low = Drawable(lowest), high = Drawable(highest);
  if (const double largest = std::max(std::abs(low), std::abs(high)); largest > kLargest) {
    const int shift = static_cast<int>(std::floor(std::log10(largest)));
    low = Drawable(InUnits(low, shift));
    high = Drawable(InUnits(high, shift));
    scale += shift;
  }
  smallestExponent -= scale;
  // A constant gets an axis a tenth of its size to either side.
  if (high - low <= std::max(std::abs(low), std::abs(high)) * 1e-12) {
    const double middle = low / 2 + high / 2;
    const double reach = middle == 0 ? 1 : std::abs(middle) / 10;
    low = middle - reach;
    high = middle + reach;
  }
  const int magnitude = static_cast<int>(std::floor(std::log10(high - low)));
  Ticking best;
  double bestMiss = std::numeric_limits<double>::infinity();
  for (int exponent = std::max(magnitude - 2, smallestExponent);
       exponent <= std::max(magnitude + 1, smallestExponent); ++exponent) {
    for (const int mantissa : {1, 2, 5}) {
      const Ticking candidate = TicksFor(low, high, mantissa, exponent, cover);
      const double miss = std::abs(candidate.Count() - kTargetTicks);
      if (miss < bestMiss) {
        best = candidate;
        bestMiss = miss;
      }
    }
  }

  ChartAxis axis;
  std::vector<double> values;
  for (double k = best.first; k <= best.last; ++k) {
    values.push_back(Scaled(k * best.mantissa, best.exponent) + 0.0);  // + 0.0: no tick is -0
  }
  axis.low = cover ? values.front() : low;
  axis.high = cover ? values.back() : high;
  axis.scale = scale;
  double largest = 0;
  for (const double value : values) largest = std::max(largest, std::abs(value));
  // Plain decimals while they stay short, 2e-6 and 1.5e9 beyond.
  const bool fixed = scale == 0 && best.exponent >= -5 && largest < 1e7;
  for (const double value : values) {
    axis.ticks.push_back({value, 0, Label(value, best.exponent, fixed, decimalComma, scale)});
  }
  return axis;
}

}  // namespace

ChartAxis NiceAxis(double lowest, double highest, bool cover, bool decimalComma, int scale) {
  return AxisWithSteps(lowest, highest, cover, decimalComma, std::numeric_limits<int>::min() / 2, scale);
}

ChartLayout LayOutChart(const ChartInput& input, ChartPage page) {
  ChartLayout layout;
  layout.width = std::max(page.width, kLeft + kMinPlotWidth + kRightMargin);
  layout.title = input.title;
  layout.xTitle = input.xTitle;
  layout.left = kLeft;
  layout.right = layout.width - kRightMargin;
  const auto panels = static_cast<double>(input.panels.size());
  const double bands = kTitleBand + panels * kPanelTitle + std::max(0.0, panels - 1) * kPanelGap + kAxisBand;
  // Whole pixels, so that frames fall on pixels, where a painter draws a hairline crisp.
  const double plotHeight = page.height > 0 && panels > 0
                                ? std::max(kMinPlotHeight, std::floor((page.height - bands) / panels))
                                : kPlotHeight;
  layout.axis = bands - kAxisBand + panels * plotHeight;
  layout.height = std::max(page.height, layout.axis + kAxisBand);

  std::vector<double> xs;
  for (const double x : input.x) {
    if (std::isfinite(x)) xs.push_back(x);
  }
  ChartAxis xAxis;
  if (!xs.empty()) {
    const auto [lowest, highest] = std::minmax_element(xs.begin(), xs.end());
    // File numbers are mostly whole, and a tick between two files (1.5) stands for no file.
    const bool whole = std::all_of(xs.begin(), xs.end(), [](double x) { return x == std::round(x); });
    xAxis = whole ? AxisWithSteps(*lowest, *highest, false, input.decimalComma, 0, 0)
                  : NiceAxis(*lowest, *highest, false, input.decimalComma);
    layout.xTicks = Placed(xAxis, kLeft + kInset, layout.right - kInset);
  }

  double top = kTitleBand + kPanelTitle;
  for (const ChartPanel& panel : input.panels) {
    PanelLayout drawn{panel.title, top, top + plotHeight, {}, {}};
    top += plotHeight + kPanelGap + kPanelTitle;
    const std::size_t count = std::min(panel.y.size(), input.x.size());
    std::vector<double> ys;
    for (std::size_t i = 0; i < count; ++i) {
      if (Drawn(input.x[i], panel.y[i])) ys.push_back(*panel.y[i]);
    }
    if (ys.empty()) {
      layout.panels.push_back(std::move(drawn));
      continue;
    }
    const auto [lowest, highest] = std::minmax_element(ys.begin(), ys.end());
    const ChartAxis yAxis = NiceAxis(*lowest, *highest, true, input.decimalComma, panel.scale);
    drawn.yTicks = Placed(yAxis, drawn.bottom - kInset, drawn.top + kInset);
    std::vector<ChartPoint> run;
    for (std::size_t i = 0; i < count; ++i) {
      if (Drawn(input.x[i], panel.y[i])) {
        run.push_back({Pixel(input.x[i], 0, xAxis, kLeft + kInset, layout.right - kInset),
                       Pixel(*panel.y[i], panel.scale, yAxis, drawn.bottom - kInset, drawn.top + kInset)});
      } else if (!run.empty()) {
        drawn.runs.push_back(std::move(run));
        run.clear();
      }
    }
    if (!run.empty()) drawn.runs.push_back(std::move(run));
    layout.panels.push_back(std::move(drawn));
  }
  return layout;
}

}  // namespace kesmaro
