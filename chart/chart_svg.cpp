#include "chart/chart_svg.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace kesmaro {
namespace {

/// Windows' YaHei and SimHei, macOS' PingFang, Linux's Noto and WenQuanYi, then any sans-serif.
constexpr std::string_view kFonts =
    "'Microsoft YaHei', SimHei, 'PingFang SC', 'Noto Sans CJK SC', 'Source Han Sans SC', "
    "'WenQuanYi Micro Hei', sans-serif";
constexpr std::string_view kLineColour = "#1f5fa8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

/// The length of the well-formed UTF-8 character at the start of `text` that XML allows, 0 when
/// there is none.
std::size_t CharacterLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  // U+FFFE and U+FFFF are no XML characters.
  if (lead == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) return 0;
  return length;
}

/// UTF-8 as XML character data, fit for an element or a quoted attribute.
std::string Escaped(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t length = CharacterLength(text);
    if (length == 0) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    switch (text[0]) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

/// A pixel position to a tenth of a pixel, without a trailing ".0".
std::string Number(double value) {
  const double rounded = std::round(value * 10) / 10 + 0.0;  // + 0.0: never -0
  std::array<char, 32> text{};
  const auto end =
      std::to_chars(text.data(), text.data() + text.size(), rounded, std::chars_format::fixed, 1).ptr;
  std::string number(text.data(), end);
  if (number.ends_with(".0")) number.resize(number.size() - 2);
  return number;
}

/// Appends the parts in turn. (GCC 12 at -O3 warns falsely of overlapping copies in chains of
/// string operator+, so the document is built by appending.)
template <typename... Parts>
void Append(std::string& out, const Parts&... parts) {
  (out.append(parts), ...);
}

void Text(std::string& svg, double x, double y, std::string_view attributes, std::string_view text) {
  Append(svg, "<text x=\"", Number(x), "\" y=\"", Number(y), "\"");
  if (!attributes.empty()) Append(svg, " ", attributes);
  Append(svg, ">", Escaped(text), "</text>\n");
}

void Panel(std::string& svg, const ChartLayout& layout, const PanelLayout& panel) {
  Text(svg, layout.left, panel.top - 7, "font-weight=\"bold\"", panel.title);
  std::string grid;
  for (const ChartTick& tick : panel.yTicks) {
    Append(grid, "M", Number(layout.left), " ", Number(tick.pixel), "H", Number(layout.right));
  }
  for (const ChartTick& tick : layout.xTicks) {
    Append(grid, "M", Number(tick.pixel), " ", Number(panel.top), "V", Number(panel.bottom));
  }
  if (!grid.empty()) Append(svg, "<path d=\"", grid, "\" fill=\"none\" stroke=\"#e4e4e4\"/>\n");
  Append(svg, "<rect x=\"", Number(layout.left), "\" y=\"", Number(panel.top), "\" width=\"",
         Number(layout.right - layout.left), "\" height=\"", Number(panel.bottom - panel.top),
         "\" fill=\"none\" stroke=\"#888\"/>\n");
  for (const ChartTick& tick : panel.yTicks) {
    Text(svg, layout.left - 6, tick.pixel + 4, "text-anchor=\"end\"", tick.label);
  }
  std::string markers;
  for (const std::vector<ChartPoint>& run : panel.runs) {
    if (run.size() > 1) {
      svg += "<polyline points=\"";
      for (const ChartPoint& point : run) {
        Append(svg, Number(point.x), ",", Number(point.y), &point == &run.back() ? "" : " ");
      }
      Append(svg, "\" fill=\"none\" stroke=\"", kLineColour, "\" stroke-width=\"1.5\"/>\n");
    }
    for (const ChartPoint& point : run) {
      Append(markers, "<circle cx=\"", Number(point.x), "\" cy=\"", Number(point.y), "\" r=\"2.5\"/>\n");
    }
  }
  if (!markers.empty()) Append(svg, "<g fill=\"", kLineColour, "\">\n", markers, "</g>\n");
}

}  // namespace

std::string ChartSvg(const ChartLayout& layout) {
  const std::string width = Number(layout.width), height = Number(layout.height);
  std::string svg;
  Append(svg,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"",
         width, "\" height=\"", height, "\" viewBox=\"0 0 ", width, " ", height, "\" font-family=\"", kFonts,
         "\" font-size=\"12\">\n");
  Append(svg, "<title>", Escaped(layout.title), "</title>\n");
  Append(svg, "<rect width=\"", width, "\" height=\"", height, "\" fill=\"#fff\"/>\n");
  Text(svg, layout.width / 2, 26, "font-size=\"16\" font-weight=\"bold\" text-anchor=\"middle\"",
       layout.title);
  for (const PanelLayout& panel : layout.panels) Panel(svg, layout, panel);
  for (const ChartTick& tick : layout.xTicks) {
    Text(svg, tick.pixel, layout.axis + 16, "text-anchor=\"middle\"", tick.label);
  }
  Text(svg, (layout.left + layout.right) / 2, layout.axis + 36, "text-anchor=\"middle\"", layout.xTitle);
  svg += "</svg>\n";
  return svg;
}

}  // namespace kesmaro
