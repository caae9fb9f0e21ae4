// "RGB samples": twelve rows of sixteen squares, each row one hue (and white)
// fading toward black in steps of 16.
#include "pattern/painters.h"

#include "app/app_state.h"
#include "app/draw.h"

static const BYTE RowColors[12][3] = {
    { 255, 0, 0 },   { 255, 0, 128 },   { 255, 0, 255 }, { 128, 0, 255 },
    { 0, 128, 255 }, { 0, 255, 255 },   { 0, 255, 128 }, { 0, 255, 0 },
    { 128, 255, 0 }, { 255, 255, 0 },   { 255, 128, 0 }, { 255, 255, 255 },
};

static BYTE Darker(BYTE component)
{
    return component > 16 ? static_cast<BYTE>(component - 16) : component;
}

void PaintRgbSamples(HDC dc, int width, int height)
{
    RECT client = { 0, 0, width, height };
    FillSolidRect(dc, &client, RGB(0, 0, 0));
    SelectObject(dc, SharedGdiObjects.hollowBrush);
    SelectObject(dc, SharedGdiObjects.whitePen);
    int b = (width < height ? width : height) / 16;
    int x0 = (width - 16 * b - 192) / 2;
    int y0 = (height - 12 * b - 144) / 2;
    for (int row = 0; row < 12; ++row) {
        BYTE red = RowColors[row][0], green = RowColors[row][1], blue = RowColors[row][2];
        int y = y0 + row * (b + 12);
        for (int column = 0; column < 16; ++column) {
            int x = x0 + column * (b + 12);
            RECT square = { x, y, x + b, y + b };
            FillSolidRect(dc, &square, RGB(red, green, blue));
            Rectangle(dc, x, y, x + b, y + b);
            red = Darker(red);
            green = Darker(green);
            blue = Darker(blue);
        }
    }
}
