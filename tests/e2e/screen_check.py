#!/usr/bin/env python3
"""Pixel checks on an 8-bit PPM (P6) screenshot: screen_check.py CHECK SHOT.

banner: prints the box of the red "Special Feature" banner as "left top right
bottom"; it must hold white caption text and, right of it, the motion button.
selected: a device row is shown selected. covered: one colour everywhere.
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


def banner_box(image):
    width, height, pixels = image
    xs, ys = [], []
    for y in range(0, height, 2):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        x = row.find(b'\xff\x00\x00')
        while x != -1:
            if x % 3 == 0:
                xs.append(x // 3)
                ys.append(y)
            x = row.find(b'\xff\x00\x00', x + 1)
    return (min(xs), min(ys), max(xs), max(ys)) if len(xs) >= 200 else None


def check_banner(image):
    box = banner_box(image)
    if box is None:
        return 'no red banner, so no main window'
    # The banner spans dialog units 278 to 415, the button 347 to 412.
    scale = (box[2] - box[0] + 1) / 137.0
    button = box[0] + int((347 - 278) * scale)
    white = sum(pixel(image, x, y) == (255, 255, 255) for x in range(box[0], button) for y in range(box[1], box[3]))
    if white < 20:
        return 'no white caption in the banner'
    if pixel(image, button + int(30 * scale), (box[1] + box[3]) // 2) == (255, 0, 0):
        return 'the banner covers the motion button'
    return None


def check_selected(image):
    box = banner_box(image)
    if box is None:
        return 'no red banner, so no main window'
    # At x = 333 units a column runs up between the information fields and
    # the mode list into the device list, whose rows top its white area:
    # going up, the dialog and its etched separator, then that white area.
    x = box[0] + int(round((333 - 278) * (box[2] - box[0] + 1) / 137.0))
    y = box[1] - 1
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
    # A selected row has no white background, an unselected one shows white
    # between its texts.
    if (255, 255, 255) in [pixel(image, x, y - i) for i in range(30) if y - i >= 0]:
        return 'the row above the empty list area at x = %d is not highlighted' % x
    return None


def check_covered(image):
    first = pixel(image, 0, 0)
    for y in range(0, image[1], 7):
        for x in range(0, image[0], 7):
            if pixel(image, x, y) != first:
                return 'pixel (%d, %d) is %s, not %s' % (x, y, pixel(image, x, y), first)
    return None


def main():
    command, path = sys.argv[1], sys.argv[2]
    image = read_ppm(path)
    check = {'banner': check_banner, 'selected': check_selected, 'covered': check_covered}[command]
    problem = check(image)
    if problem:
        print('%s: %s' % (path, problem), file=sys.stderr)
        return 1
    if command == 'banner':
        print('%d %d %d %d' % banner_box(image))
    return 0


if __name__ == '__main__':
    sys.exit(main())
