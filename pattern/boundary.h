// The "Boundary" pattern at a given number of dots per inch, apart from the
// device context's own, so that other screens can be tried.
#ifndef PELMIRA_BOUNDARY_H
#define PELMIRA_BOUNDARY_H

#include <windows.h>

// Paints what DrawBoundaryPattern paints with dpiX and dpiY dots per inch.
// With either 0 or less only the frame and the diagonal are drawn.
void DrawBoundaryPatternAtDpi(HDC dc, int width, int height, int dpiX, int dpiY);

#endif
