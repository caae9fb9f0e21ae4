// "Boundary": a frame on the outermost pixels, a dotted inch grid, the
// diagonal with its length and angle, a right angle, an inch ruler, two
// one-inch references and, on larger screens, the outline of a 120 mm disc.
#include "pattern/boundary.h"

#include <math.h>

#include "app/app_state.h"
#include "app/draw.h"
#include "app/format_text.h"
#include "pattern/painters.h"
#include "pattern/pattern_text.h"

// Single-precision constants, widened: inches per millimetre and degrees per
// radian.
static const double InchesPerMillimetre = 0.0393701f;
static const double DegreesPerRadian = 57.2957f;

static void DrawLine(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, NULL);
    LineTo(dc, x2, y2);
}

static void DrawInchGrid(HDC dc, int width, int height, int dpiX, int dpiY)
{
    for (int x = dpiX; x < width; x += dpiX)
        DrawLine(dc, x, 0, x, height);
    for (int y = dpiY; y < height; y += dpiY)
        DrawLine(dc, 0, y, width, y);
}

// The length in whole inches three inches up the diagonal from the bottom
// right corner, and the angle with the bottom edge at the end of a two-inch
// arc round that corner.
static void DrawDiagonalMeasures(HDC dc, int width, int height, int dpiX, int dpiY, HPEN anglePen)
{
    double angle = atan2(static_cast<double>(height), -static_cast<double>(width));
    double cosA = cos(angle);
    double sinA = sin(angle);
    int a = width / dpiX;
    int b = height / dpiY;
    WCHAR text[32];
    SetTextColor(dc, RGB(64, 168, 215));
    FormatText(text, 32, L"%.2f\"", sqrt(pow(a, 2.0) + pow(b, 2.0)));
    DrawLabel(dc, static_cast<int>(width + cosA * 3 * dpiX),
              static_cast<int>(height - sinA * 3 * dpiY), text);
    int xA = static_cast<int>(width + cosA * 2 * dpiX);
    int yA = static_cast<int>(height - sinA * 2 * dpiY);
    SelectObject(dc, anglePen);
    Arc(dc, width - 2 * dpiX, height - 2 * dpiY, width + 2 * dpiX, height + 2 * dpiY,
        width - 2 * dpiX, height, xA, yA);
    SetTextColor(dc, RGB(215, 168, 64));
    FormatText(text, 32, L"%.2f\u00B0", 180.0 - angle * DegreesPerRadian);
    DrawLabel(dc, xA, yA, text);
}

// A quarter circle of one and a half inches round the bottom left corner and
// the dash-dotted line out of that corner.
static void DrawRightAngle(HDC dc, int height, int dpiX, int dpiY)
{
    int rx = static_cast<int>(static_cast<float>(dpiX) * 1.5f);
    int ry = static_cast<int>(static_cast<float>(dpiY) * 1.5f);
    SelectObject(dc, SharedGdiObjects.whitePen);
    Arc(dc, -rx, height - ry, rx, height + ry, 0, height - ry, rx, height);
    HPEN bisectorPen = CreatePen(PS_DASHDOT, 1, RGB(255, 255, 255));
    SelectObject(dc, bisectorPen);
    DrawLine(dc, 0, height, 2 * dpiX, height - 2 * dpiY);
    SelectObject(dc, SharedGdiObjects.whitePen);
    DeleteObject(bisectorPen);
}

static void DrawInchRuler(HDC dc, int width, int dpiX, int dpiY)
{
    if (width - 2 * dpiX <= 0)
        return;
    for (int k = 0;; ++k) {
        int x = (k + 1) * dpiX;
        DrawLine(dc, x, dpiY, x + dpiX, dpiY);
        DrawLine(dc, x, dpiY - 2, x, dpiY + 3);
        WCHAR label[32];
        FormatText(label, 32, L"%u", static_cast<unsigned>(k));
        DrawLabel(dc, x + 2, dpiY + 2, label);
        if ((k + 1) * dpiX >= width - 2 * dpiX)
            break;
    }
}

// A one-inch line labelled with its length in pixels below its start.
static void DrawReference(HDC dc, int x1, int y1, int x2, int y2, int pixels)
{
    DrawLine(dc, x1, y1, x2, y2);
    WCHAR label[32];
    FormatText(label, 32, L"%d pixels", pixels);
    DrawLabel(dc, x1 + 2, y1 + 2, label);
}

static void DrawDiscCircle(HDC dc, int cx, int cy, double mmX, double mmY, double radius)
{
    Ellipse(dc, static_cast<int>(cx - mmX * radius), static_cast<int>(cy - mmY * radius),
            static_cast<int>(cx + mmX * radius), static_cast<int>(cy + mmY * radius));
}

void DrawDiscMeasures(HDC dc, int cx, int cy, int dpiX, int dpiY)
{
    double mmX = dpiX * InchesPerMillimetre;
    double mmY = dpiY * InchesPerMillimetre;
    SetTextColor(dc, RGB(255, 255, 255));
    SelectObject(dc, SharedGdiObjects.whitePen);
    int rx = static_cast<int>(round(mmX * 60));
    int ry = static_cast<int>(round(mmY * 60));
    // The paint device context's own brush, the white stock brush, fills the
    // outer disc; chosen here so that no brush left by an earlier drawing
    // could change it.
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Ellipse(dc, cx - rx, cy - ry, cx + rx, cy + ry);
    SelectObject(dc, SharedGdiObjects.whiteBrush);
    DrawDiscCircle(dc, cx, cy, mmX, mmY, 58);
    SelectObject(dc, SharedGdiObjects.blackBrush);
    DrawDiscCircle(dc, cx, cy, mmX, mmY, 25);
    DrawDiscCircle(dc, cx, cy, mmX, mmY, 23);
    DrawDiscCircle(dc, cx, cy, mmX, mmY, 7.5);

    int yTop = static_cast<int>(cy - mmY * 60);
    int yBottom = static_cast<int>(cy + mmY * 60);
    int x80 = static_cast<int>(cx + mmX * 80);
    HPEN tangentPen = CreatePen(PS_DOT, 1, RGB(255, 255, 255));
    SelectObject(dc, tangentPen);
    DrawLine(dc, cx, yTop, x80, yTop);
    DrawLine(dc, cx, yBottom, x80, yBottom);
    SelectObject(dc, SharedGdiObjects.whitePen);
    DeleteObject(tangentPen);

    TEXTMETRICW metrics;
    SelectObject(dc, SharedGdiObjects.monoFont);
    GetTextMetricsW(dc, &metrics);
    int xD = x80 - 5;
    DrawLine(dc, xD, yTop + 5, xD, cy - metrics.tmHeight);
    DrawLine(dc, xD, cy + metrics.tmHeight, xD, yBottom - 5);
    DrawLabel(dc, x80 - 20, cy - 10, L"120mm");
    SelectObject(dc, SharedGdiObjects.titleFont);
    GetTextMetricsW(dc, &metrics);
    DrawLabel(dc, static_cast<int>(cx - mmX * 60), yTop - 2 * metrics.tmHeight, L"Mesures of a CD/DVD");
}

// What is measured in inches over the diagonal: its measures, the right
// angle, the ruler, the references and the disc.
static void DrawInchMeasures(HDC dc, int width, int height, int dpiX, int dpiY, HPEN anglePen)
{
    DrawDiagonalMeasures(dc, width, height, dpiX, dpiY, anglePen);
    DrawRightAngle(dc, height, dpiX, dpiY);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawLabel(dc, dpiX, dpiY - 30, L"Inches");
    DrawInchRuler(dc, width, dpiX, dpiY);
    DrawReference(dc, dpiX, 2 * dpiY, 2 * dpiX, 2 * dpiY, dpiX);
    DrawReference(dc, dpiX, 3 * dpiY, dpiX, 4 * dpiY, dpiY);
    if (width / dpiX > 5 && height / dpiY > 5)
        DrawDiscMeasures(dc, width / 2, height / 2, dpiX, dpiY);
}

void DrawBoundaryPatternAtDpi(HDC dc, int width, int height, int dpiX, int dpiY)
{
    HPEN gridPen = CreatePen(PS_DOT, 1, RGB(64, 64, 64));
    HPEN diagonalPen = CreatePen(PS_SOLID, 1, RGB(64, 64, 187));
    HPEN anglePen = CreatePen(PS_SOLID, 1, RGB(215, 168, 64));
    SetBkMode(dc, OPAQUE);
    SetArcDirection(dc, AD_CLOCKWISE);
    SelectObject(dc, SharedGdiObjects.monoFont);
    RECT client = { 0, 0, width, height };
    FillSolidRect(dc, &client, RGB(0, 0, 0));
    bool inches = dpiX > 0 && dpiY > 0;
    if (inches) {
        SelectObject(dc, gridPen);
        DrawInchGrid(dc, width, height, dpiX, dpiY);
    }
    SelectObject(dc, diagonalPen);
    DrawLine(dc, 0, 0, width, height);
    if (inches)
        DrawInchMeasures(dc, width, height, dpiX, dpiY, anglePen);
    SelectObject(dc, SharedGdiObjects.hollowBrush);
    SelectObject(dc, SharedGdiObjects.whitePen);
    Rectangle(dc, 0, 0, width, height);
    DeleteObject(gridPen);
    DeleteObject(diagonalPen);
    DeleteObject(anglePen);
}

void DrawBoundaryPattern(HDC dc, int width, int height)
{
    DrawBoundaryPatternAtDpi(dc, width, height, GetDeviceCaps(dc, LOGPIXELSX),
                             GetDeviceCaps(dc, LOGPIXELSY));
}
