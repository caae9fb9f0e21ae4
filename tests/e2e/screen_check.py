#!/usr/bin/env python3
"""Pixel checks on an 8-bit PPM (P6) screenshot: screen_check.py CHECK SHOT.

banner: prints the box of the red "Special Feature" banner with its white
caption as "left top right bottom". solid-R-G-B (the colour R G B), smpte
(the SMPTE bars at 1920x1080 or 800x600), popup (the bars, with the popup over
their top centre) and pattern-N (7 to 13 at 1920x1080): chosen pixels of the
pattern. rings: "Moire Interference", white rings on black corners and
nothing but black and white. motion: the motion panel centred on the top edge
with a two-digit speed and screen updates, not red; below it black but for a
white 96-pixel square at mid-height, off x = 0.
"""
import re
import sys


def read_ppm(path):
    data = open(path, 'rb').read()
    header = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', data)
    if not header:
        raise SystemExit('not an 8-bit P6 file: %s' % path)
    return int(header.group(1)), int(header.group(2)), data[header.end():]


def pixel(image, x, y):
    i = (y * image[0] + x) * 3
    return tuple(image[2][i:i + 3])


def banner_box(image):  # the box of the pure red pixels, if there are enough of them
    width, pixels = image[0], image[2]
    red = [m.start() // 3 for m in re.finditer(rb'\xff\x00\x00', pixels) if m.start() % 3 == 0]
    if len(red) < 400:
        return None
    return min(i % width for i in red), red[0] // width, max(i % width for i in red), red[-1] // width


def check_banner(image):
    box = banner_box(image)
    if box is None:
        return 'no red banner, so no main window'
    left_half = range(box[0], (box[0] + box[2]) // 2)  # the caption; the button is on the right
    white = sum(pixel(image, x, (box[1] + box[3]) // 2) == (255, 255, 255) for x in left_half)
    return None if white > 3 else 'no white caption in the banner'


def grey(v):
    return (v, v, v)


def check_pixels(image, pixels):
    for x, y, colour in pixels:
        if pixel(image, x, y) != colour:
            return 'pixel (%d, %d) is %s, not %s' % (x, y, pixel(image, x, y), colour)
    return None


def check_solid(image, colour):
    width, height, _ = image
    return check_pixels(image, [(x, y, colour) for x in (0, width // 2, width - 1) for y in (0, height - 1)])


# Pixels of the SMPTE bars next to the edges of their bands, side bars, ramp
# and chips; the top centre is where the popup was.
SMPTE_PIXELS = {
    1920: [(0, 0, grey(104)), (254, 0, grey(180)), (960, 10, (16, 180, 16)), (1661, 720, (16, 16, 235)),
           (1660, 815, grey(234)), (561, 816, grey(235)), (1156, 1079, grey(12)), (1919, 1079, grey(49))],
    800: [(104, 347, grey(104)), (105, 0, grey(180)), (692, 451, grey(234)), (481, 452, grey(12)), (799, 599, grey(49))],
}


def check_smpte(image):
    return check_pixels(image, SMPTE_PIXELS[image[0]])


def check_popup(image):
    if pixel(image, 0, 1079) != grey(49) or pixel(image, 960, 10) == (16, 180, 16):
        return 'no popup over the top centre of the bars'
    return None


# Chosen pixels (x, y, colour) of patterns 7 to 13 at 1920x1080 and 96 dpi.
PATTERN_PIXELS = {
    7: [(1919, 1079, grey(255)), (959, 313, grey(255)), (959, 446, grey(0)), (320, 180, (64, 64, 187))],
    8: [(329, 67, (255, 0, 0)), (395, 100, grey(0)), (1578, 200, (15, 0, 16))],
    9: [(420, 135, grey(1)), (474, 135, grey(0)), (1445, 890, grey(12))],
    10: [(420, 135, grey(254)), (474, 135, grey(255)), (1445, 890, grey(243))],
    11: [(600, 100, grey(12)), (900, 1079, grey(0)), (1200, 1079, grey(255)), (1919, 1079, grey(127))],
    12: [(5, 1075, grey(25)), (1725, 220, grey(203)), (1745, 218, grey(255)), (1745, 217, grey(0))],
    13: [(0, 1, grey(255)), (0, 0, grey(0)), (1, 1, grey(0)), (1000, 501, grey(255))],
}


# White rings, black corners, and nothing but black and white.
def check_rings(image):
    width, height, _ = image
    samples = [pixel(image, x, y) for y in range(0, height, 7) for x in range(0, width, 7)]
    if set(samples) - {grey(0), grey(255)} or samples.count(grey(255)) * 20 < len(samples):
        return 'not white rings on black: %s' % sorted(set(samples))[:5]
    return check_pixels(image, [(x, y, grey(0)) for x in (0, width - 1) for y in (0, height - 1)])


def non_black_span(image, y):  # first and last x of row y that are not black, or None
    row = image[2][y * image[0] * 3:(y + 1) * image[0] * 3]
    left = len(row) - len(row.lstrip(b'\0'))
    return None if left == len(row) else (left // 3, (len(row.rstrip(b'\0')) - 1) // 3)


def check_motion(image):
    width, height, _ = image
    rows = [non_black_span(image, y) for y in range(height)]
    # The panel's rows; the top one, its border, may be black.
    end = next((y for y in range(1, height) if rows[y] is None), height)
    left, right = min([r[0] for r in rows[1:end]] or [0]), max([r[1] for r in rows[1:end]] or [0])
    if end < 50 or abs(left + right + 1 - width) > 1:
        return 'no panel centred on the top edge: rows 0 to %d, x %d to %d' % (end - 1, left, right)
    top, shape = (height - 96) // 2, [y for y in range(end, height) if rows[y]]
    x0 = rows[top][0] if rows[top] else 0
    if x0 == 0 or shape != list(range(top, top + 96)) or {rows[y] for y in shape} != {(x0, x0 + 95)} or any(
            pixel(image, x, y) != grey(255) for y in shape for x in range(x0, x0 + 96)):
        return 'below the panel, not one white 96-pixel square off x = 0 at rows %d to %d: %s' % (top, top + 95, shape[:3])
    unit = (right - left + 1) / 504  # the panel is 504 x 84 units; a digit is about 4 units wide
    for name, x1, most in (('speed', 40, 2.5), ('screen updates', 153, 9)):
        box = [(x, pixel(image, x, y)) for x in range(left + round(x1 * unit), left + round((x1 + 74) * unit))
               for y in range(round(48 * end / 84), round(60 * end / 84))]  # the figure, 74 x 8 units at (x1, 50)
        ink = [x for x, colour in box if colour != box[0][1]]
        digits = (max(ink) - min(ink) + 1) / (4 * unit) if ink else 0
        if not 1.5 <= digits < most or any(r > 2 * g + 30 for _, (r, g, _) in box):
            return 'the %s figure is %.1f digits wide, or red' % (name, digits)


def main():
    command, path = sys.argv[1], sys.argv[2]
    image = read_ppm(path)
    if command.startswith('solid-'):
        problem = check_solid(image, tuple(int(v) for v in command.split('-')[1:]))
    elif command.startswith('pattern-'):
        problem = check_pixels(image, PATTERN_PIXELS[int(command[8:])])
    else:
        problem = {'banner': check_banner, 'smpte': check_smpte, 'popup': check_popup, 'rings': check_rings,
                   'motion': check_motion}[command](image)
    if problem:
        print('%s: %s' % (path, problem), file=sys.stderr)
        return 1
    if command == 'banner':
        print('%d %d %d %d' % banner_box(image))
    return 0


if __name__ == '__main__':
    sys.exit(main())
