#!/usr/bin/env python3
"""Pixel checks on screenshots of the end-to-end test.

Reads a binary PPM (P6) screenshot and answers one question per command:
  banner SHOT        prints the bounding box of the red "Special Feature"
                     banner (pure red pixels) as "left top right bottom", or
                     fails when there is no such red area
  selected SHOT      checks that the device list shows a selected row: above
                     the banner, the list's empty white area is topped by a
                     band of another colour at least 30 pixels high
  covered SHOT       checks that the whole screen shows the test window (its
                     colour everywhere, no main window left)
  motion SHOT        checks the motion test: the panel centred on the top
                     edge, and below it black but for one white 96-pixel
                     square at the vertical centre; prints where both are
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


def check_covered(image):
    width, height, _ = image
    first = pixel(image, 0, 0)
    for y in range(0, height, 7):
        for x in range(0, width, 7):
            if pixel(image, x, y) != first:
                return 'pixel (%d, %d) is %s, not %s' % (x, y, pixel(image, x, y), first)
    return None


def non_black_span(image, y):
    """First and last x of row y that are not black, or None."""
    width, _, pixels = image
    row = pixels[y * width * 3:(y + 1) * width * 3]
    left = len(row) - len(row.lstrip(b'\0'))
    if left == len(row):
        return None
    return left // 3, (len(row.rstrip(b'\0')) - 1) // 3


def check_motion(image):
    width, height, _ = image
    # The panel: the rows from the top that hold anything but black (its
    # one-pixel border is black itself).
    y = 0
    while y < 2 and non_black_span(image, y) is None:
        y += 1
    spans = []
    while y < height and non_black_span(image, y) is not None:
        spans.append(non_black_span(image, y))
        y += 1
    if len(spans) < 50:
        return 'no panel at the top edge', None
    left = min(s[0] for s in spans) - 1
    right = max(s[1] for s in spans) + 1
    panel = (left, 0, right, y)
    if abs((left + right + 1) - width) > 1:
        return 'the panel %s is not centred' % (panel,), None
    # The shape: below the panel only one white square, all else black.
    rows = [(row, non_black_span(image, row)) for row in range(y, height)]
    rows = [(row, span) for row, span in rows if span is not None]
    if not rows:
        return 'no shape below the panel', None
    top, bottom = rows[0][0], rows[-1][0]
    x0, x1 = rows[0][1]
    for row, span in rows:
        if span != (x0, x1):
            return 'row %d: non-black from x %d to %d, not %d to %d' % (row, span[0], span[1], x0, x1), None
        for x in range(x0, x1 + 1):
            if pixel(image, x, row) != (255, 255, 255):
                return 'pixel (%d, %d) in the shape is %s' % (x, row, pixel(image, x, row)), None
    if bottom - top + 1 != 96 or top != (height - 96) // 2 or len(rows) != 96:
        return 'the shape spans rows %d to %d, not 96 rows from %d' % (top, bottom, (height - 96) // 2), None
    if x1 - x0 + 1 != 96 and x0 != 0 and x1 != width - 1:
        return 'the shape is %d pixels wide' % (x1 - x0 + 1), None
    return None, 'panel (%d, %d) - (%d, %d), square at (%d, %d) - (%d, %d)' % (
        panel + (x0, top, x1 + 1, bottom + 1))


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
    if command == 'motion':
        problem, where = check_motion(image)
        if problem:
            print('%s: %s' % (path, problem), file=sys.stderr)
            return 1
        print(where)
        return 0
    check = {'selected': check_selected, 'covered': check_covered}[command]
    problem = check(image)
    if problem:
        print('%s: %s' % (path, problem), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
