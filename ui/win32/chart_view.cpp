#include "ui/win32/chart_view.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/chart_drawing.h"
#include "ui/win32/window_class.h"

namespace kesmaro::ui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KesmaroChart";
/// The DPI the layout's pixels are meant at; other displays get the chart scaled.
constexpr int kLayoutDpi = 96;

COLORREF ColourOf(ChartColour rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

int Px(double value) { return static_cast<int>(std::lround(value)); }

/// UTF-8 as UTF-16; what is not well-formed UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)),
                    L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

/// A pen or brush selected into a DC while it is in scope, then deleted.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() {
    SelectObject(dc_, previous_);
    DeleteObject(object_);  // a stock object ignores it
  }

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
};

/// The walk's calls as GDI's, in whole logical units. The DC gets its own state back at the end,
/// before the fonts selected into it are deleted.
class GdiCanvas final : public ChartCanvas {
 public:
  explicit GdiCanvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)), face_(Wide(kChartFontFamilies[0])) {
    SetBkMode(dc_, TRANSPARENT);
  }
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override {
    RestoreDC(dc_, saved_);
    for (const Font& font : fonts_) DeleteObject(font.handle);
  }

  void Page(double width, double height, ChartColour background, double /*textSize*/,
            std::string_view /*title*/) override {
    const RECT page{0, 0, Px(width), Px(height)};
    HBRUSH brush = CreateSolidBrush(ColourOf(background));
    FillRect(dc_, &page, brush);
    DeleteObject(brush);
  }

  void Text(ChartPoint at, std::string_view text, const ChartTextStyle& style) override {
    const UINT align = style.anchor == TextAnchor::kStart    ? TA_LEFT
                       : style.anchor == TextAnchor::kMiddle ? TA_CENTER
                                                             : TA_RIGHT;
    SelectObject(dc_, FontFor(style));
    SetTextAlign(dc_, TA_BASELINE | align);
    SetTextColor(dc_, ColourOf(style.colour));
    const std::wstring wide = Wide(text);
    TextOutW(dc_, Px(at.x), Px(at.y), wide.c_str(), static_cast<int>(wide.size()));
  }

  void Grid(std::span<const ChartSegment> lines, ChartColour colour) override {
    const Selected pen(dc_, CreatePen(PS_SOLID, 1, ColourOf(colour)));
    for (const ChartSegment& line : lines) {
      MoveToEx(dc_, Px(line.from.x), Px(line.from.y), nullptr);
      LineTo(dc_, Px(line.to.x), Px(line.to.y));
    }
  }

  void Frame(double left, double top, double right, double bottom, ChartColour colour) override {
    const Selected pen(dc_, CreatePen(PS_SOLID, 1, ColourOf(colour)));
    const Selected brush(dc_, GetStockObject(NULL_BRUSH));
    // Rectangle leaves out the right and bottom edges it is given; the frame has them.
    Rectangle(dc_, Px(left), Px(top), Px(right) + 1, Px(bottom) + 1);
  }

  void Line(std::span<const ChartPoint> points, double width, ChartColour colour) override {
    // A pen wider than one pixel has round ends and joins.
    const Selected pen(dc_, CreatePen(PS_SOLID, std::max(1, Px(width)), ColourOf(colour)));
    std::vector<POINT> polyline;
    for (const ChartPoint& point : points) polyline.push_back({Px(point.x), Px(point.y)});
    Polyline(dc_, polyline.data(), static_cast<int>(polyline.size()));
  }

  void Dots(std::span<const ChartPoint> centres, double radius, ChartColour colour) override {
    const Selected pen(dc_, GetStockObject(NULL_PEN));
    const Selected brush(dc_, CreateSolidBrush(ColourOf(colour)));
    // Without a pen Ellipse fills one pixel less to the right and below.
    for (const ChartPoint& centre : centres) {
      Ellipse(dc_, Px(centre.x - radius), Px(centre.y - radius), Px(centre.x + radius) + 1,
              Px(centre.y + radius) + 1);
    }
  }

 private:
  struct Font {
    int height;
    bool bold;
    HFONT handle;
  };

  /// The font of a style, made once per canvas: the walk asks for a few again and again.
  HFONT FontFor(const ChartTextStyle& style) {
    const int height = std::max(1, Px(style.size));
    for (const Font& font : fonts_) {
      if (font.height == height && font.bold == style.bold) return font.handle;
    }
    LOGFONTW font{};
    font.lfHeight = -height;  // negative: the em, as the layout's sizes are
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    // Where YaHei is missing, the system takes a font of this character set: a Chinese one.
    font.lfCharSet = GB2312_CHARSET;
    face_.copy(font.lfFaceName, LF_FACESIZE - 1);
    fonts_.push_back({height, style.bold, CreateFontIndirectW(&font)});
    return fonts_.back().handle;
  }

  HDC dc_;
  int saved_;
  std::wstring face_;
  std::vector<Font> fonts_;
};

}  // namespace

ChartView::~ChartView() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool ChartView::Create(HWND parent, int controlId, const RECT& rect) {
  // The layout follows the size, so the whole view is painted again when it changes.
  if (!RegisterWindowClass(kClassName, ObjectWindowProc<ChartView>, CS_HREDRAW | CS_VREDRAW, nullptr))
    return false;
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                  Instance(), this);
  return hwnd_ != nullptr;
}

void ChartView::SetChart(std::optional<ChartInput> chart) {
  chart_ = std::move(chart);
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT ChartView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      Paint(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_NCDESTROY: {
      HWND hwnd = hwnd_;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void ChartView::Paint(HDC target) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  HDC memory = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (chart_) {
    // Laid out in pixels at 96 DPI and mapped to the display's, as the window's twips are.
    const int dpi = GetDeviceCaps(target, LOGPIXELSY);
    SetMapMode(memory, MM_ANISOTROPIC);
    SetWindowExtEx(memory, kLayoutDpi, kLayoutDpi, nullptr);
    SetViewportExtEx(memory, dpi, dpi, nullptr);
    const ChartPage page{static_cast<double>(MulDiv(client.right, kLayoutDpi, dpi)),
                         static_cast<double>(MulDiv(client.bottom, kLayoutDpi, dpi))};
    PaintChart(memory, LayOutChart(*chart_, page));
  }
  BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void PaintChart(HDC dc, const ChartLayout& layout) {
  GdiCanvas canvas(dc);
  DrawChart(layout, canvas);
}

}  // namespace kesmaro::ui::win32
