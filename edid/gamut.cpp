// The intersection of two triangles: the standard's clipped by each edge of
// the monitor's in turn (both convex), its area by the shoelace formula.
#include "edid/gamut.h"

#include <math.h>

const Chromaticity SrgbPrimaries[3] = { { 0.640, 0.330 }, { 0.300, 0.600 }, { 0.150, 0.060 } };
const Chromaticity DciP3Primaries[3] = { { 0.680, 0.320 }, { 0.265, 0.690 }, { 0.150, 0.060 } };
const Chromaticity Bt2020Primaries[3] = { { 0.708, 0.292 }, { 0.170, 0.797 }, { 0.131, 0.046 } };

enum { MAX_CORNERS = 9 };  // a triangle clipped by three lines has at most six

// Twice the signed area of the polygon: positive when it winds anticlockwise.
static double TwiceArea(const Chromaticity* points, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const Chromaticity& a = points[i];
        const Chromaticity& b = points[(i + 1) % count];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// Which side of the line from a to b the point is: positive on the left.
static double Side(const Chromaticity& a, const Chromaticity& b, const Chromaticity& point)
{
    return (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
}

// Keeps the part of the polygon on the left of the line from a to b.
static int ClipToLeft(const Chromaticity* in, int count, const Chromaticity& a, const Chromaticity& b,
                      Chromaticity* out)
{
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const Chromaticity& from = in[i];
        const Chromaticity& to = in[(i + 1) % count];
        double sideFrom = Side(a, b, from), sideTo = Side(a, b, to);
        if (sideFrom >= 0)
            out[kept++] = from;
        if ((sideFrom >= 0) != (sideTo >= 0)) {
            double t = sideFrom / (sideFrom - sideTo);
            out[kept++] = { from.x + t * (to.x - from.x), from.y + t * (to.y - from.y) };
        }
    }
    return kept;
}

double GamutCoverage(const Chromaticity monitor[3], const Chromaticity standard[3])
{
    double monitorArea = TwiceArea(monitor, 3), standardArea = fabs(TwiceArea(standard, 3));
    if (monitorArea == 0 || standardArea == 0)
        return 0;
    // The monitor's corners anticlockwise, so that its inside is on the left of each edge.
    Chromaticity corners[3] = { monitor[0], monitor[monitorArea > 0 ? 1 : 2], monitor[monitorArea > 0 ? 2 : 1] };
    Chromaticity polygon[MAX_CORNERS] = { standard[0], standard[1], standard[2] }, clipped[MAX_CORNERS];
    int count = 3;
    for (int edge = 0; edge < 3 && count > 0; ++edge) {
        count = ClipToLeft(polygon, count, corners[edge], corners[(edge + 1) % 3], clipped);
        for (int i = 0; i < count; ++i)
            polygon[i] = clipped[i];
    }
    return count < 3 ? 0 : fabs(TwiceArea(polygon, count)) / standardArea;
}
