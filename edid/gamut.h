// Colour gamut coverage: how much of a standard's triangle of primaries in
// the CIE 1931 xy plane a monitor's triangle covers.
#ifndef PELMIRA_GAMUT_H
#define PELMIRA_GAMUT_H

struct Chromaticity {
    double x, y;
};

// The standards' red, green and blue primaries.
extern const Chromaticity SrgbPrimaries[3];
extern const Chromaticity DciP3Primaries[3];
extern const Chromaticity Bt2020Primaries[3];

// The area of the intersection of the two triangles over the area of the
// standard's, from 0 to 1; either may wind either way. 0 when the monitor's
// points make no triangle.
double GamutCoverage(const Chromaticity monitor[3], const Chromaticity standard[3]);

#endif
