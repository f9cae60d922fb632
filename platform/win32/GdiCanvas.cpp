#include "platform/win32/GdiCanvas.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

constexpr double TwipsPerPoint = 20.0;
// Screens and devices that report no resolution of their own are taken as the usual one.
constexpr int DefaultPixelsPerInch = 96;
constexpr wchar_t ProportionalFace[] = L"Tahoma";
constexpr wchar_t MonospaceFace[] = L"Courier New";

COLORREF RefOf(Color color) {
    return RGB(color.red, color.green, color.blue);
}

uint32_t KeyOf(Color color) {
    return static_cast<uint32_t>(color.red) | (static_cast<uint32_t>(color.green) << 8) |
           (static_cast<uint32_t>(color.blue) << 16) | (static_cast<uint32_t>(color.alpha) << 24);
}

DWORD StyleOf(LineStyle style) {
    switch (style) {
        case LineStyle::Dash:
            return PS_DASH;
        case LineStyle::Dot:
            return PS_DOT;
        default:
            return PS_SOLID;
    }
}

UINT FormatOf(const TextOp& op) {
    UINT format = DT_NOPREFIX;
    switch (op.horizontal) {
        case HAlign::Center:
            format |= DT_CENTER;
            break;
        case HAlign::Right:
            format |= DT_RIGHT;
            break;
        default:
            format |= DT_LEFT;
            break;
    }
    if (op.wordWrap) {
        // DrawText aligns only single lines vertically; the caller places wrapped text.
        return format | DT_WORDBREAK | DT_TOP;
    }
    format |= DT_SINGLELINE;
    switch (op.vertical) {
        case VAlign::Top:
            return format | DT_TOP;
        case VAlign::Bottom:
            return format | DT_BOTTOM;
        default:
            return format | DT_VCENTER;
    }
}

// The restore point of the DC's own state; SaveDC fails only on a DC that is not one.
int SaveState(HDC dc) {
    return dc != nullptr ? SaveDC(dc) : 0;
}

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, POINT origin, double pixelsPerTwipX, double pixelsPerTwipY)
    : m_dc(dc),
      m_origin(origin),
      m_scaleX(pixelsPerTwipX),
      m_scaleY(pixelsPerTwipY),
      m_savedState(SaveState(dc)) {
    if (m_dc != nullptr) {
        SetBkMode(m_dc, TRANSPARENT);
    }
}

GdiCanvas GdiCanvas::AtDeviceResolution(HDC dc, POINT origin) {
    const SIZE ppi = LogicalResolution(dc);
    return GdiCanvas(dc, origin, ppi.cx / double{TwipsPerInch}, ppi.cy / double{TwipsPerInch});
}

SIZE GdiCanvas::LogicalResolution(HDC dc) {
    SIZE ppi{DefaultPixelsPerInch, DefaultPixelsPerInch};
    if (dc != nullptr) {
        const int x = GetDeviceCaps(dc, LOGPIXELSX);
        const int y = GetDeviceCaps(dc, LOGPIXELSY);
        ppi.cx = x > 0 ? x : DefaultPixelsPerInch;
        ppi.cy = y > 0 ? y : DefaultPixelsPerInch;
    }
    return ppi;
}

GdiCanvas::~GdiCanvas() {
    // Back to the DC's own pen, brush, font and clip before the cached objects go.
    if (m_savedState != 0) {
        RestoreDC(m_dc, m_savedState);
    }
    FreeObjects();
}

void GdiCanvas::FreeObjects() {
    for (const auto& [key, pen] : m_pens) {
        DeleteObject(pen);
    }
    for (const auto& [key, brush] : m_brushes) {
        DeleteObject(brush);
    }
    for (const auto& [key, font] : m_fonts) {
        DeleteObject(font);
    }
    for (const auto& [key, bitmap] : m_bitmaps) {
        DeleteObject(bitmap);
    }
    m_pens.clear();
    m_brushes.clear();
    m_fonts.clear();
    m_bitmaps.clear();
}

RECT GdiCanvas::ToPixels(const Rect& box) const {
    const POINT topLeft = ToPixels(box.TopLeft());
    const POINT bottomRight = ToPixels(Point{box.Right(), box.Bottom()});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

POINT GdiCanvas::ToPixels(Point p) const {
    return {m_origin.x + static_cast<LONG>(std::lround(p.x * m_scaleX)),
            m_origin.y + static_cast<LONG>(std::lround(p.y * m_scaleY))};
}

Point GdiCanvas::ToTwips(POINT p) const {
    return {static_cast<int32_t>(std::floor((p.x - m_origin.x) / m_scaleX)),
            static_cast<int32_t>(std::floor((p.y - m_origin.y) / m_scaleY))};
}

Rect GdiCanvas::ToTwips(const RECT& box) const {
    const Point topLeft = ToTwips(POINT{box.left, box.top});
    const auto right = static_cast<int32_t>(std::ceil((box.right - m_origin.x) / m_scaleX));
    const auto bottom = static_cast<int32_t>(std::ceil((box.bottom - m_origin.y) / m_scaleY));
    return {topLeft.x, topLeft.y, right - topLeft.x, bottom - topLeft.y};
}

HPEN GdiCanvas::PenOf(const Pen& pen) {
    const int width =
        pen.IsHairline()
            ? 1
            : std::max(1, static_cast<int>(std::lround(pen.width * std::min(m_scaleX, m_scaleY))));
    const PenKey key{KeyOf(pen.color), pen.IsHairline() ? 0 : width, static_cast<int>(pen.style),
                     pen.round};
    if (const auto it = m_pens.find(key); it != m_pens.end()) {
        return it->second;
    }
    const LOGBRUSH brush{BS_SOLID, RefOf(pen.color), 0};
    DWORD style = StyleOf(pen.style);
    if (pen.IsHairline()) {
        style |= PS_COSMETIC;
    } else {
        style |= PS_GEOMETRIC |
                 (pen.round ? PS_ENDCAP_ROUND | PS_JOIN_ROUND : PS_ENDCAP_SQUARE | PS_JOIN_BEVEL);
    }
    HPEN made = ExtCreatePen(style, static_cast<DWORD>(width), &brush, 0, nullptr);
    if (made == nullptr) {
        return static_cast<HPEN>(GetStockObject(BLACK_PEN));
    }
    m_pens.emplace(key, made);
    return made;
}

HBRUSH GdiCanvas::BrushOf(Color fill) {
    const uint32_t key = KeyOf(fill);
    if (const auto it = m_brushes.find(key); it != m_brushes.end()) {
        return it->second;
    }
    HBRUSH made = CreateSolidBrush(RefOf(fill));
    if (made == nullptr) {
        return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    }
    m_brushes.emplace(key, made);
    return made;
}

HFONT GdiCanvas::FontOf(const Font& font) const {
    const int32_t height =
        std::max(1, static_cast<int32_t>(std::lround(font.points * TwipsPerPoint * m_scaleY)));
    const auto key = std::make_tuple(height, font.bold, static_cast<int>(font.face));
    if (const auto it = m_fonts.find(key); it != m_fonts.end()) {
        return it->second;
    }
    LOGFONTW log{};
    // A negative height asks for the character height, as point sizes mean.
    log.lfHeight = -height;
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = DEFAULT_QUALITY;
    const bool mono = font.face == FontFace::Monospace;
    log.lfPitchAndFamily =
        static_cast<BYTE>(mono ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS);
    wcscpy_s(log.lfFaceName, LF_FACESIZE, mono ? MonospaceFace : ProportionalFace);
    HFONT made = CreateFontIndirectW(&log);
    if (made == nullptr) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    m_fonts.emplace(key, made);
    return made;
}

void GdiCanvas::Use(const Pen& pen, Color fill) {
    SelectObject(m_dc, pen.IsNone() ? GetStockObject(NULL_PEN) : PenOf(pen));
    SelectObject(m_dc, fill.IsTransparent() ? GetStockObject(NULL_BRUSH) : BrushOf(fill));
}

RECT GdiCanvas::ShapeRect(const Rect& box, const Pen& pen) const {
    RECT r = ToPixels(box);
    if (pen.IsNone()) {
        ++r.right;
        ++r.bottom;
    } else if (!pen.IsHairline()) {
        // A wide pen is centred on its path: the path runs half a pen inside the box.
        const int width =
            std::max(1, static_cast<int>(std::lround(pen.width * std::min(m_scaleX, m_scaleY))));
        const int half = width / 2;
        r = {r.left + half, r.top + half, r.right - (width - half) + 1,
             r.bottom - (width - half) + 1};
    }
    return r;
}

void GdiCanvas::Draw(const FillRectOp& op) {
    if (op.color.IsTransparent()) {
        return;
    }
    const RECT r = ToPixels(op.box);
    FillRect(m_dc, &r, BrushOf(op.color));
}

void GdiCanvas::Draw(const StrokeRectOp& op) {
    if (op.pen.IsNone()) {
        return;
    }
    Use(op.pen, NoFill);
    const RECT r = ShapeRect(op.box, op.pen);
    Rectangle(m_dc, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::Draw(const LineOp& op) {
    if (op.pen.IsNone()) {
        return;
    }
    Use(op.pen, NoFill);
    const POINT a = ToPixels(op.a);
    const POINT b = ToPixels(op.b);
    MoveToEx(m_dc, a.x, a.y, nullptr);
    LineTo(m_dc, b.x, b.y);
    // GDI leaves a hairline's last pixel out; the line includes both ends.
    if (op.pen.IsHairline() && op.pen.style == LineStyle::Solid) {
        SetPixelV(m_dc, b.x, b.y, RefOf(op.pen.color));
    }
}

void GdiCanvas::Draw(const PolylineOp& op) {
    if (op.pen.IsNone() || op.points.size() < 2) {
        return;
    }
    Use(op.pen, NoFill);
    std::vector<POINT> points;
    points.reserve(op.points.size());
    for (const Point p : op.points) {
        points.push_back(ToPixels(p));
    }
    Polyline(m_dc, points.data(), static_cast<int>(points.size()));
}

void GdiCanvas::Draw(const PolygonOp& op) {
    if (op.points.size() < 3 || (op.pen.IsNone() && op.fill.IsTransparent())) {
        return;
    }
    Use(op.pen, op.fill);
    std::vector<POINT> points;
    points.reserve(op.points.size());
    for (const Point p : op.points) {
        points.push_back(ToPixels(p));
    }
    Polygon(m_dc, points.data(), static_cast<int>(points.size()));
}

void GdiCanvas::Draw(const EllipseOp& op) {
    if (op.pen.IsNone() && op.fill.IsTransparent()) {
        return;
    }
    Use(op.pen, op.fill);
    const RECT r = ShapeRect(op.box, op.pen);
    Ellipse(m_dc, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::Draw(const RoundedRectOp& op) {
    if (op.pen.IsNone() && op.fill.IsTransparent()) {
        return;
    }
    Use(op.pen, op.fill);
    const RECT r = ShapeRect(op.box, op.pen);
    // GDI takes the corners' ellipse, twice the radius.
    const auto w = static_cast<int>(std::lround(2 * op.radius * m_scaleX));
    const auto h = static_cast<int>(std::lround(2 * op.radius * m_scaleY));
    RoundRect(m_dc, r.left, r.top, r.right, r.bottom, w, h);
}

void GdiCanvas::Draw(const TextOp& op) {
    if (op.text.empty() || op.color.IsTransparent()) {
        return;
    }
    std::wstring text = Widen(op.text);
    SelectObject(m_dc, FontOf(op.font));
    SetTextColor(m_dc, RefOf(op.color));
    RECT box = ToPixels(op.box);
    const UINT format = FormatOf(op);
    if (op.wordWrap && op.vertical != VAlign::Top) {
        RECT measured = box;
        DrawTextW(m_dc, text.data(), static_cast<int>(text.size()), &measured,
                  format | DT_CALCRECT);
        const LONG spare = (box.bottom - box.top) - (measured.bottom - measured.top);
        if (spare > 0) {
            box.top += op.vertical == VAlign::Bottom ? spare : spare / 2;
        }
    }
    DrawTextW(m_dc, text.data(), static_cast<int>(text.size()), &box, format);
}

HBITMAP GdiCanvas::BitmapOf(const PictureOp& op) {
    const void* key = op.rgba;
    if (const auto it = m_bitmaps.find(key); it != m_bitmaps.end()) {
        return it->second;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = op.width;
    // Negative: rows top-down, as the picture holds them.
    info.bmiHeader.biHeight = -op.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (made == nullptr || bits == nullptr) {
        return nullptr;
    }
    // AlphaBlend takes blue, green, red, alpha with the colours premultiplied by alpha.
    auto* to = static_cast<uint8_t*>(bits);
    const uint8_t* from = op.rgba;
    const size_t count = static_cast<size_t>(op.width) * static_cast<size_t>(op.height);
    for (size_t i = 0; i < count; ++i, from += 4, to += 4) {
        const unsigned alpha = from[3];
        to[0] = static_cast<uint8_t>(from[2] * alpha / 255);
        to[1] = static_cast<uint8_t>(from[1] * alpha / 255);
        to[2] = static_cast<uint8_t>(from[0] * alpha / 255);
        to[3] = static_cast<uint8_t>(alpha);
    }
    m_bitmaps.emplace(key, made);
    return made;
}

void GdiCanvas::Draw(const PictureOp& op) {
    PictureOp picture = op;
    if (picture.rgba == nullptr && picture.resourceId != 0) {
        // A picture that carries only its id is the library's own icon.
        try {
            const ResIcon& icon = LoadResIcon(picture.resourceId);
            picture.width = icon.width;
            picture.height = icon.height;
            picture.rgba = icon.pixels.data();
        } catch (...) {
            return;
        }
    }
    if (picture.rgba == nullptr || picture.width <= 0 || picture.height <= 0) {
        return;
    }
    HBITMAP bitmap = BitmapOf(picture);
    HDC source = bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    if (source == nullptr) {
        return;
    }
    HGDIOBJ old = SelectObject(source, bitmap);
    const RECT r = ToPixels(op.box);
    SetStretchBltMode(m_dc, op.smooth ? HALFTONE : COLORONCOLOR);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!AlphaBlend(m_dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                    picture.width, picture.height, blend)) {
        // A device that cannot blend (an old-style metafile) gets the picture opaque.
        StretchBlt(m_dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                   picture.width, picture.height, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

void GdiCanvas::Draw(const PushClipOp& op) {
    SaveDC(m_dc);
    ++m_clipDepth;
    const RECT r = ToPixels(op.box);
    IntersectClipRect(m_dc, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::Draw(const PopClipOp&) {
    if (m_clipDepth > 0) {
        --m_clipDepth;
        RestoreDC(m_dc, -1);
    }
}

void GdiCanvas::Draw(const FocusRectOp& op) {
    const LOGBRUSH brush{BS_SOLID, RefOf(style::WindowText), 0};
    // Made and freed here: the alternate-pixel pen is the focus mark's alone.
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    if (pen == nullptr) {
        return;
    }
    HGDIOBJ oldPen = SelectObject(m_dc, pen);
    HGDIOBJ oldBrush = SelectObject(m_dc, GetStockObject(NULL_BRUSH));
    const RECT r = ToPixels(op.box);
    Rectangle(m_dc, r.left, r.top, r.right, r.bottom);
    SelectObject(m_dc, oldBrush);
    SelectObject(m_dc, oldPen);
    DeleteObject(pen);
}

int32_t GdiCanvas::TextWidth(const Font& font, std::string_view text) const {
    const std::wstring wide = Widen(text);
    HGDIOBJ old = SelectObject(m_dc, FontOf(font));
    SIZE size{};
    GetTextExtentPoint32W(m_dc, wide.data(), static_cast<int>(wide.size()), &size);
    SelectObject(m_dc, old);
    return static_cast<int32_t>(std::lround(size.cx / m_scaleX));
}

int32_t GdiCanvas::TextHeight(const Font& font) const {
    HGDIOBJ old = SelectObject(m_dc, FontOf(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(m_dc, &metrics);
    SelectObject(m_dc, old);
    return static_cast<int32_t>(std::lround(metrics.tmHeight / m_scaleY));
}

int32_t GdiCanvas::PixelTwips() const {
    return std::max(1, static_cast<int32_t>(std::lround(1.0 / m_scaleX)));
}

}  // namespace arn::win32
