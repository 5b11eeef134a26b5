#ifndef KESMARO_CHART_CHART_SVG_H_
#define KESMARO_CHART_CHART_SVG_H_

#include <string>

#include "chart/chart_layout.h"

namespace kesmaro {

/// The chart as an SVG document in UTF-8. Every text is escaped, and what is not well-formed
/// UTF-8 or no XML character (control characters) becomes U+FFFD, so any title gives a
/// document a browser shows. The font list names the usual Chinese fonts of Windows, macOS and
/// Linux before the generic sans-serif, so Chinese headers show wherever the file is opened.
std::string ChartSvg(const ChartLayout& layout);

}  // namespace kesmaro

#endif  // KESMARO_CHART_CHART_SVG_H_
