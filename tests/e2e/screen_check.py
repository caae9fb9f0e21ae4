#!/usr/bin/env python3
"""Pixel checks on an 8-bit PPM (P6) screenshot: screen_check.py CHECK SHOT.

banner: prints the box of the red "Special Feature" banner with its white
caption as "left top right bottom". covered: one colour everywhere.
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
    left_half = range(box[0], (box[0] + box[2]) // 2)  # the caption; the button is on the right
    white = sum(pixel(image, x, (box[1] + box[3]) // 2) == (255, 255, 255) for x in left_half)
    return None if white > 3 else 'no white caption in the banner'


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
    check = {'banner': check_banner, 'covered': check_covered}[command]
    problem = check(image)
    if problem:
        print('%s: %s' % (path, problem), file=sys.stderr)
        return 1
    if command == 'banner':
        print('%d %d %d %d' % banner_box(image))
    return 0


if __name__ == '__main__':
    sys.exit(main())
