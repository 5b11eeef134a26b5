#include "chart/chart_svg.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>

#include "chart/chart_drawing.h"

namespace kesmaro {
namespace {

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

/// #fff where the colour has a short form, #1f5fa8 otherwise.
std::string Colour(ChartColour colour) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  const bool shortForm = ((colour >> 4) & 0x0F0F0F) == (colour & 0x0F0F0F);
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= shortForm ? 8 : 4) text += kDigits[(colour >> shift) & 0xF];
  return text;
}

/// The SVG document, written element by element as the walk draws. Texts leave out what the
/// document already says: the page's font size, normal weight, a start anchor, black.
class SvgCanvas final : public ChartCanvas {
 public:
  std::string Document() && {
    svg_ += "</svg>\n";
    return std::move(svg_);
  }

  void Page(double width, double height, ChartColour background, double textSize,
            std::string_view title) override {
    textSize_ = textSize;
    std::string fonts;
    for (const std::string_view family : kChartFontFamilies) {
      const bool quoted = family.find(' ') != std::string_view::npos;
      Append(fonts, quoted ? "'" : "", family, quoted ? "'" : "", ", ");
    }
    fonts += "sans-serif";
    const std::string w = Number(width), h = Number(height);
    Append(svg_,
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"",
           w, "\" height=\"", h, "\" viewBox=\"0 0 ", w, " ", h, "\" font-family=\"", fonts,
           "\" font-size=\"", Number(textSize), "\">\n");
    Append(svg_, "<title>", Escaped(title), "</title>\n");
    Append(svg_, "<rect width=\"", w, "\" height=\"", h, "\" fill=\"", Colour(background), "\"/>\n");
  }

  void Text(ChartPoint at, std::string_view text, const ChartTextStyle& style) override {
    Append(svg_, "<text x=\"", Number(at.x), "\" y=\"", Number(at.y), "\"");
    if (style.size != textSize_) Append(svg_, " font-size=\"", Number(style.size), "\"");
    if (style.bold) svg_ += " font-weight=\"bold\"";
    if (style.anchor == TextAnchor::kMiddle) svg_ += " text-anchor=\"middle\"";
    if (style.anchor == TextAnchor::kEnd) svg_ += " text-anchor=\"end\"";
    if (style.colour != 0x000000) Append(svg_, " fill=\"", Colour(style.colour), "\"");
    Append(svg_, ">", Escaped(text), "</text>\n");
  }

  void Grid(std::span<const ChartSegment> lines, ChartColour colour) override {
    svg_ += "<path d=\"";
    for (const ChartSegment& line : lines) {
      Append(svg_, "M", Number(line.from.x), " ", Number(line.from.y));
      if (line.from.y == line.to.y) {
        Append(svg_, "H", Number(line.to.x));
      } else {
        Append(svg_, "V", Number(line.to.y));
      }
    }
    Append(svg_, "\" fill=\"none\" stroke=\"", Colour(colour), "\"/>\n");
  }

  void Frame(double left, double top, double right, double bottom, ChartColour colour) override {
    Append(svg_, "<rect x=\"", Number(left), "\" y=\"", Number(top), "\" width=\"", Number(right - left),
           "\" height=\"", Number(bottom - top), "\" fill=\"none\" stroke=\"", Colour(colour), "\"/>\n");
  }

  void Line(std::span<const ChartPoint> points, double width, ChartColour colour) override {
    svg_ += "<polyline points=\"";
    for (const ChartPoint& point : points) {
      Append(svg_, &point == &points.front() ? "" : " ", Number(point.x), ",", Number(point.y));
    }
    Append(svg_, "\" fill=\"none\" stroke=\"", Colour(colour), "\" stroke-width=\"", Number(width), "\"/>\n");
  }

  void Dots(std::span<const ChartPoint> centres, double radius, ChartColour colour) override {
    Append(svg_, "<g fill=\"", Colour(colour), "\">\n");
    const std::string r = Number(radius);
    for (const ChartPoint& centre : centres) {
      Append(svg_, "<circle cx=\"", Number(centre.x), "\" cy=\"", Number(centre.y), "\" r=\"", r, "\"/>\n");
    }
    svg_ += "</g>\n";
  }

 private:
  std::string svg_;
  double textSize_ = 0;
};

}  // namespace

std::string ChartSvg(const ChartLayout& layout) {
  SvgCanvas canvas;
  DrawChart(layout, canvas);
  return std::move(canvas).Document();
}

}  // namespace kesmaro
