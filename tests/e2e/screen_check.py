#!/usr/bin/env python3
"""Pixel checks on screenshots of the end-to-end test.

Reads a binary PPM (P6) screenshot and answers one question per command:
  banner SHOT        prints the bounding box of the red "Special Feature"
                     banner (pure red pixels) as "left top right bottom", or
                     fails when there is no such red area
  selected SHOT      checks that the device list shows a selected row: above
                     the banner, the list's empty white area is topped by a
                     band of another colour at least 30 pixels high
  solid SHOT R G B   checks that the whole screen has the colour R G B
  smpte SHOT         checks the SMPTE bars, pixel for pixel on the top and
                     bottom rows of each band, at 1920x1080 or 800x600
  popup SHOT         checks that the SMPTE bars show with the pattern popup
                     over their top centre
  pixels SHOT X,Y:R,G,B...  checks that each pixel X,Y has the colour R,G,B
  rings SHOT         checks "Moire Interference": black corners, white rings
                     (at least a twentieth of the screen), nothing else
"""
import sys


def read_ppm(path):
    with open(path, 'rb') as f:
        data = f.read()
    parts = []
    pos = 0
    while len(parts) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        parts.append(data[pos:end])
        pos = end
    pos += 1
    if parts[0] != b'P6' or int(parts[3]) != 255:
        raise SystemExit('not an 8-bit P6 file: %s' % path)
    return int(parts[1]), int(parts[2]), data[pos:]


def pixel(image, x, y):
    width, _, pixels = image
    i = (y * width + x) * 3
    return tuple(pixels[i:i + 3])


def banner_box(image):
    width, height, pixels = image
    red = b'\xff\x00\x00'
    xs, ys = [], []
    for y in range(0, height, 2):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        x = row.find(red)
        while x != -1:
            if x % 3 == 0:
                xs.append(x // 3)
                ys.append(y)
            x = row.find(red, x + 1)
    if len(xs) < 200:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def check_selected(image):
    box = banner_box(image)
    if box is None:
        return 'no banner, so no main window'
    # The banner spans dialog units 278 to 415; at x = 333 units a column runs
    # up between the information fields and the mode list into the device
    # list, whose rows are at the top of its white area.
    scale = (box[2] - box[0] + 1) / 137.0
    x = box[0] + int(round((333 - 278) * scale))
    y = box[1] - 1
    # Going up: the dialog and its etched separator, then the list's empty
    # white area.
    white = 0
    while y >= 0 and white < 50:
        while y >= 0 and pixel(image, x, y) != (255, 255, 255):
            y -= 1
        white = 0
        while y >= 0 and pixel(image, x, y) == (255, 255, 255):
            white += 1
            y -= 1
    if white < 50:
        return 'no empty white list area above the banner (column x = %d)' % x
    # A selected row has no white background: the 30 pixels above the empty
    # area hold none, while an unselected row shows white between its texts.
    band = [pixel(image, x, y - i) for i in range(30) if y - i >= 0]
    if (255, 255, 255) in band:
        return 'the row above the empty list area at x = %d is not highlighted' % x
    return None


def check_solid(image, colour):
    width, height, _ = image
    for y in range(0, height, 7):
        for x in range(0, width, 7):
            if pixel(image, x, y) != colour:
                return 'pixel (%d, %d) is %s, not %s' % (x, y, pixel(image, x, y), colour)
    return None


# Side bar, colour bar and chip widths, band heights and the bottom band's
# x1, x2, x3 at the sizes the end-to-end test shows.
SMPTE_SIZES = {(1920, 1080): (254, 201, 61, 626, 95, 561, 964, 1156),
               (800, 600): (105, 84, 25, 348, 52, 233, 401, 481)}


def smpte_bands(width, height):
    """(top, bottom, row of colours) of the four bands."""
    e, d, s, h1, h2, x1, x2, x3 = SMPTE_SIZES[(width, height)]
    end = e + 7 * d

    def grey(v):
        return (v, v, v)

    def row(*bars):  # (right edge, colour) from x = 0; colour None: the grey ramp
        out = []
        for right, colour in bars:
            out += [colour or grey(16 + i * 219 // (6 * d)) for i in range(right - len(out))]
        return out
    colour_bars = [(180, 180, 180), (180, 180, 16), (16, 180, 180), (16, 180, 16),
                   (180, 16, 180), (180, 16, 16), (16, 16, 180)]
    chips = [grey(12), grey(16), grey(20), grey(16), grey(25)]
    return [
        (0, h1, row((e, grey(104)), *[(e + (i + 1) * d, c) for i, c in enumerate(colour_bars)],
                    (width, grey(104)))),
        (h1, h1 + h2, row((e, (16, 235, 235)), (e + d, (0, 33, 76)), (end, grey(180)),
                          (width, (16, 16, 235)))),
        (h1 + h2, h1 + 2 * h2, row((e, (235, 235, 16)), (e + d, (50, 0, 106)), (end, None),
                                   (width, (235, 16, 16)))),
        (h1 + 2 * h2, height, row((e, grey(49)), (x1, grey(16)), (x2, grey(235)), (x3, grey(16)),
                                  *[(x3 + (i + 1) * s, c) for i, c in enumerate(chips)],
                                  (end, grey(16)), (width, grey(49)))),
    ]


def check_smpte(image):
    width, height, _ = image
    for band, (top, bottom, expected) in enumerate(smpte_bands(width, height)):
        for y in (top, (top + bottom) // 2, bottom - 1):
            for x in range(width):
                if pixel(image, x, y) != expected[x]:
                    return 'band %d, pixel (%d, %d) is %s, not %s' % (
                        band + 1, x, y, pixel(image, x, y), expected[x])
    return None


def check_popup(image):
    width, height, _ = image
    bands = smpte_bands(width, height)
    if pixel(image, 0, height - 1) != bands[3][2][0] or pixel(image, width // 2, 10) == bands[0][2][width // 2]:
        return 'no popup over the top centre of the bars'
    return None


def check_pixels(image, specs):
    for spec in specs:
        (x, y), colour = [tuple(int(v) for v in part.split(',')) for part in spec.split(':')]
        if pixel(image, x, y) != colour:
            return 'pixel (%d, %d) is %s, not %s' % (x, y, pixel(image, x, y), colour)
    return None


def check_rings(image):
    width, height, _ = image
    corners = ['%d,%d:0,0,0' % (x, y) for x in (0, width - 1) for y in (0, height - 1)]
    samples = [pixel(image, x, y) for y in range(0, height, 7) for x in range(0, width, 7)]
    others = set(samples) - {(0, 0, 0), (255, 255, 255)}
    if others:
        return 'colours other than black and white: %s' % sorted(others)[:5]
    if samples.count((255, 255, 255)) * 20 < len(samples):
        return 'only %d of %d samples are white' % (samples.count((255, 255, 255)), len(samples))
    return check_pixels(image, corners)


def main():
    command, path = sys.argv[1], sys.argv[2]
    image = read_ppm(path)
    if command == 'banner':
        box = banner_box(image)
        if box is None:
            print('no red banner in %s' % path, file=sys.stderr)
            return 1
        print('%d %d %d %d' % box)
        return 0
    if command == 'solid':
        problem = check_solid(image, tuple(int(v) for v in sys.argv[3:6]))
    elif command == 'pixels':
        problem = check_pixels(image, sys.argv[3:])
    else:
        check = {'selected': check_selected, 'smpte': check_smpte, 'popup': check_popup,
                 'rings': check_rings}[command]
        problem = check(image)
    if problem:
        print('%s: %s' % (path, problem), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
