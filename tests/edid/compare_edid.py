#!/usr/bin/env python3
"""Compares the monitor report of EDID files with what Debian's edid-decode says of them.

compare_edid.py --tool EDID_REPORT.EXE --loader WINE [--synthetic] [FILE_OR_FOLDER ...]
(default: samples/); tools/edid-compare.sh runs it with the build that Wine runs here.
Per file, every line the report takes from the EDID and the whole mode list (each refresh within
0.0015 Hz of edid-decode's); the colour gamut is worked out here from the bytes. --synthetic adds
EDIDs written here that list every code of the standards' tables and a spread of standard timings,
CVT codes and DisplayID timings. Exits 1 when any file differs.
"""
import argparse, os, re, subprocess, sys, tempfile
from decimal import Decimal, ROUND_HALF_DOWN, ROUND_HALF_UP

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(HERE)), 'tools'))
import edid_craft as craft  # noqa: E402

KEYS = ('Monitor', 'Manufacturer', 'Product code', 'Serial number', 'Manufactured', 'EDID', 'Input',
        'Image size', 'Native mode', 'Native size', 'Refresh range', 'Highest refresh', 'Variable refresh',
        'Colour points', 'Colour gamut', 'HDR', 'Bad checksums')
STANDARDS = {'sRGB': ((0.640, 0.330), (0.300, 0.600), (0.150, 0.060)),
             'DCI-P3': ((0.680, 0.320), (0.265, 0.690), (0.150, 0.060)),
             'BT.2020': ((0.708, 0.292), (0.170, 0.797), (0.131, 0.046))}


def rounded(figure):
    """The three-decimal figures that a six-decimal one may stand for (both, on a printed tie)."""
    value = Decimal(figure)
    return {'%s' % value.quantize(Decimal('0.001'), r) for r in (ROUND_HALF_UP, ROUND_HALF_DOWN)}


def field_refresh(timing):
    """An interlaced timing's refresh with its vertical borders counted in the field, as the
    standard counts them; edid-decode's figure leaves them out (its Vback goes negative)."""
    item = lambda name: int((re.search(name + r'\s+(-?\d+)', timing) or [0, 0])[1])
    width, height = map(int, re.search(r'(\d+)x(\d+)i', timing).groups())
    pixels = width + item('Hfront') + item('Hsync') + item('Hback') + 2 * item('Hborder')
    field = height // 2 + item('Vfront') + item('Vsync') + item('Vback') + 2 * item('Vborder')
    clock = Decimal(re.search(r'([\d.]+) MHz', timing).group(1)) * 1000000
    return str(clock / (pixels * (field + Decimal('0.5'))))


def mode_text(width, height, interlaced, refresh):
    return '%s x %s%s at %s Hz' % (width, height, ' interlaced' if interlaced else '', refresh)


def modes_of(out):
    """Every mode line: [width, height, interlaced, refresh as printed (a string), its lines]."""
    found = []
    for m in craft.MODE_LINE.finditer(out):
        if m[5] in ('inf', '-nan', 'nan') or int(m[2]) * int(m[3]) == 0 or float(m[5]) == 0:
            continue
        text = out[m.start():m.start() + 400].split('\n')
        figure = field_refresh('\n'.join(text[:3])) if m[4] and 'Vborder' in text[1] + text[2] else m[5]
        found.append([int(m[2]), int(m[3]), bool(m[4]), figure, text[0]])
    return found


def coverage(monitor, standard):
    """Area of the intersection of two triangles over the standard's (both convex)."""
    area = lambda p: sum(p[i][0] * p[(i + 1) % len(p)][1] - p[(i + 1) % len(p)][0] * p[i][1] for i in range(len(p)))
    if area(monitor) < 0:
        monitor = monitor[::-1]
    polygon = list(standard)
    for i in range(3):
        a, b = monitor[i], monitor[(i + 1) % 3]
        side = lambda p: (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
        clipped = []
        for j, p in enumerate(polygon):
            q = polygon[(j + 1) % len(polygon)]
            if side(p) >= 0:
                clipped.append(p)
            if (side(p) >= 0) != (side(q) >= 0):
                t = side(p) / (side(p) - side(q))
                clipped.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
        polygon = clipped
    return abs(area(polygon)) / abs(area(standard)) if len(polygon) >= 3 else 0.0


def gamut(data):
    low = lambda i: (data[25 + i // 2] >> (4 if i % 2 == 0 else 0)) & 0x0F
    points = [((data[27 + 2 * i] << 2 | low(i) >> 2) / 1024, (data[28 + 2 * i] << 2 | low(i) & 3) / 1024) for i in range(3)]
    (ax, ay), (bx, by), (cx, cy) = points
    if (bx - ax) * (cy - ay) - (by - ay) * (cx - ax) == 0:
        return None
    return ', '.join('%.1f%% of %s' % (100 * coverage(points, s), name) for name, s in STANDARDS.items())


def reference(path):
    """What edid-decode says, worded as the report words it; None when it decodes nothing."""
    try:  # edid-decode can run on for ever over garbled bytes
        out = subprocess.run(['edid-decode', path], capture_output=True, timeout=20).stdout.decode('latin-1')
    except subprocess.TimeoutExpired:
        return None
    out = re.split(r'^(?:Warnings:|Failures:|EDID conformity)', out, flags=re.M)[0]
    blocks = re.split(r'^(?=Block \d+, )', out, flags=re.M)[1:]
    if not blocks or not blocks[0].startswith('Block 0, Base EDID'):
        return None
    data = open(path, 'rb').read()
    get = lambda pattern, text=blocks[0]: (lambda m: m and m.groups())(re.search(pattern, text, re.M))
    texts = lambda kind: [t.strip() for t in re.findall(kind + r": '(.*)'$", out, re.M) if t.strip()]
    f = {'Manufacturer': get(r'Manufacturer: (.*)$')[0], 'Monitor': (texts('Product Name') + [None])[0]}
    model = get(r'Model: (\S+)')[0]
    f['Product code'] = '%04X' % int(model, 16 if model.startswith('0x') else 10)
    number = get(r'Serial Number: (\d+)')
    f['Serial number'] = (texts('Product Serial Number') + [number and int(number[0]) and number[0]])[0]
    week, year, model_year = get(r'Made in: (?:week (\d+) of )?(\d+)|Model year: (\d+)') or (None,) * 3
    f['Manufactured'] = model_year and 'model year ' + model_year or week and 'week %s of %s' % (week, year) or year
    count = int((get(r'Extension blocks: (\d+)') or ['0'])[0])
    f['EDID'] = 'version %s, %d extension block%s' % (get(r'Revision: (\d+\.\d+)')[0], count, 's' * (count != 1))
    bits, interface = get(r'Bits per primary color channel: (\d+)'), get(r'^\s+(\S+) interface$')
    f['Input'] = ', '.join(['digital' if 'Digital display' in blocks[0] else 'analog'] + list(interface or []) +
                           (['%s bits per colour' % bits[0]] if bits else []))
    size = get(r'Maximum image size: (\d+) cm x (\d+) cm|Aspect ratio: (\S+) \((\w+)\)')
    f['Image size'] = size and ('%s x %s cm' % size[:2] if size[0] else 'not given; aspect ratio %s (%s)' % size[2:])
    limits = get(r'Monitor ranges \(.*\): (\d+)-(\d+) Hz V')
    f['Refresh range'] = limits and int(limits[1]) and '%s - %s Hz' % limits
    modes = modes_of(out)
    native = native_mode(out, modes)
    if native:
        f['Native mode'] = {mode_text(*native[:3], r) for r in rounded(native[3])}
        mm = re.search(r'(\d+) mm x (\d+) mm\)', native[4])
        f['Native size'] = native[5] or mm and int(mm[1]) and int(mm[2]) and '%s x %s mm' % mm.groups()
        fastest = sorted((m for m in modes if m[:2] == native[:2]),
                         key=lambda m: (-Decimal('%.3f' % Decimal(m[3])), m[2]))  # progressive first at 0.001 Hz
        f['Highest refresh'] = fastest and {mode_text(*fastest[0][:3], r) for r in rounded(fastest[0][3])}
    vrr = get(r'VRRmin: (\d+) Hz\n\s+VRRmax: (\d+) Hz', out)
    amd = ([m for m in re.findall(r'Minimum Refresh Rate: (\d+) Hz\n\s+Maximum Refresh Rate: (\d+) Hz', out)
            if int(m[1])] + [None])[0]  # a maximum of 0 is no range
    f['Variable refresh'] = (vrr or amd) and '%s - %s Hz' % (vrr or amd)
    points = [get(r'^\s+%s\s*: (\S+), (\S+)$' % c) for c in ('Red', 'Green', 'Blue', 'White')]
    if any(float(v) for p in points for v in p):
        f['Colour points'] = '; '.join('%s %s, %s' % (n, *p) for n, p in zip(('red', 'green', 'blue', 'white'), points))
        f['Colour gamut'] = gamut(data)
    f['HDR'] = hdr(out)
    f['Bad checksums'] = ' '.join(re.match(r'Block (\d+)', b)[1] for b in blocks
                                  if re.search(r'^Checksum: \S+ \(should be', b, re.M))
    f = {k: v if isinstance(v, set) else {v} for k, v in f.items() if v}
    return f, modes, native


def native_mode(out, modes):
    """A DisplayID timing of the stated native pixel format (the preferred one, else the first), with
    the DisplayID image size; else the first detailed timing."""
    stated = re.search(r'Display native pixel format: (\d+)x(\d+)', out)
    if stated:
        size = tuple(map(int, stated.groups()))
        candidates = [m for m in modes if m[4].lstrip().startswith('DTD:') and tuple(m[:2]) == size]
        candidates.sort(key=lambda m: 'preferred' not in m[4])
        if candidates:
            image = re.search(r'Image size: ([\d.]+) mm x ([\d.]+) mm', out)
            mm = image and tuple(int(Decimal(v).quantize(0, ROUND_HALF_UP)) for v in image.groups())
            mm = mm and all(mm) and '%d x %d mm' % mm  # a size of 0 is none
            return candidates[0] + [mm]
    first = [m for m in modes if re.match(r'\s+DTD +\d+:', m[4])]  # a filler below 10 MHz has no line
    return first and first[0] + [None]


def hdr(out):
    block = (re.search(r'HDR Static Metadata Data Block:\n((?:\s{4,}.*\n)*)', out) or [None, ''])[1]
    names = [n for key, n in (('SMPTE ST2084', 'PQ'), ('Hybrid Log-Gamma', 'HLG'),
                              ('Traditional gamma - HDR', 'HDR gamma')) if key in block]
    values = [(label, v) for key, label in (('max luminance', 'peak'), ('max frame-average luminance', 'frame average'),
                                            ('min luminance', 'black'))
              for v in re.findall(r'Desired content %s: \d+ \(([\d.]+) cd/m\^2\)' % key, block)]
    return names and ', '.join(names) + ''.join('%s%s %s cd/m\u00b2' % ('; ' if i == 0 else ', ', label, v)
                                                for i, (label, v) in enumerate(values))


def parse_report(lines):
    found = dict(line.split(': ', 1) for line in lines if line.split(': ', 1)[0] in KEYS)
    bad = [m[1] for m in (re.match(r'Note: EDID block (\d+) has a wrong checksum', l) for l in lines) if m]
    listed = [re.match(r'  (\d+) x (\d+)( interlaced)? at (\S+) Hz( \(native\))?$', l) for l in lines if l.startswith('  ')]
    modes = [[int(m[1]), int(m[2]), bool(m[3]), m[4], bool(m[5])] if m else None for m in listed]
    return dict({k: v.strip() for k, v in found.items()}, **{'Bad checksums': ' '.join(bad) or None}), modes


def compare_modes(expected, native, actual):
    """The report's list: edid-decode's modes, distinct, widest, tallest and fastest first."""
    key = lambda m: (m[0], m[1], m[2], '%.3f' % Decimal(m[3]))
    distinct = {}
    for m in expected:
        distinct.setdefault(key(m), m)
    ordered = sorted(distinct.values(), key=lambda m: (-m[0], -m[1], -Decimal(key(m)[3]), m[2]))  # rates to 0.001 Hz
    if len(ordered) != len(actual):
        return ['mode list: %d modes, edid-decode lists %d: %s' % (len(actual), len(ordered),
                [mode_text(*m[:4]) for m in ordered])]
    problems = []
    for want, got in zip(ordered, actual):
        is_native = bool(native) and key(want) == key(native)
        if got is None or got[:3] != want[:3] or abs(Decimal(got[3]) - Decimal(want[3])) > Decimal('0.0015') \
                or got[4] != is_native:
            problems.append('mode %r, edid-decode %r%s' % (got, want[4].strip(), ' (native)' * is_native))
    return problems


def run_reports(tool, loader, files):
    """The report lines of each file, in order: one Wine start per 100 files (a command line
    holds at most 32767 characters)."""
    env = dict(os.environ, WINEDEBUG=os.environ.get('WINEDEBUG', '-all'))
    names, reports = ['Z:' + path.replace('/', '\\') for path in files], []
    for start in range(0, len(names), 100):
        with tempfile.TemporaryFile() as out:  # Wine's helper processes would keep a pipe open
            subprocess.run([loader, tool] + names[start:start + 100], stdout=out, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL, env=env)
            out.seek(0)
            text = out.read().decode('utf-8', 'replace').replace('\r', '')
        reports += [section.split('\n') for section in re.split(r'^== .*\n', text, flags=re.M)[1:]]
    return reports


def synthetic(folder):
    """EDIDs that list every DMT ID, VIC, HDMI VIC and established timing, a spread of standard
    timings (no formula before EDID 1.2, GTF, and CVT where EDID 1.4 range limits allow it) and CVT
    codes, and DisplayID timings of every type edid-decode reads, interlaced among them."""
    def dtd_first(*descriptors):
        return [craft.dtd(14850, 1920, 280, 1080, 45)] + list(descriptors)
    cvt_range = craft.descriptor(0xFD, bytes([1, 255, 1, 255, 255, 4, 0x11, 0x44, 0x18, 0xF8, 0x1A]))
    edids = [[craft.base(extensions=1, established=(255, 255, 128),
                         descriptors=dtd_first(craft.descriptor(0xF7, bytes([10, 255, 255, 255, 255, 255, 240])))),
              craft.displayid([craft.displayid_block(0x06, range(1, 89))])]]
    vics = list(range(1, 128)) + list(range(193, 220))
    for start in range(0, len(vics), 62):
        chunk = vics[start:start + 62]
        edids.append([craft.base(extensions=1), craft.cta(craft.data_block(2, chunk[:31]) + craft.data_block(2, chunk[31:])
                                                          + craft.hdmi_vics([1, 2, 3, 4]))])
    codes = [first << 8 | second for first in (0x02, 0x31, 0x45, 0x61, 0x71, 0x81, 0x8B, 0xA9, 0xB3, 0xD1, 0xFF)
             for second in range(0, 256, 3)]
    for version, extra in (((1, 1), []), ((1, 3), []), ((1, 4), [cvt_range])):
        per = 8 + (3 - len(extra)) * 6
        for start in range(0, len(codes), per):
            chunk = codes[start:start + per]
            descriptors = [craft.standard_descriptor(chunk[i:i + 6]) for i in range(8, len(chunk), 6)]
            edids.append([craft.base(version=version, standard=chunk[:8], descriptors=descriptors + extra)])
    cvt = [craft.cvt_code(lines, aspect, 1, 0x1F) for lines in range(480, 4320, 38) for aspect in range(4)]
    for start in range(0, len(cvt), 12):
        edids.append([craft.base(descriptors=dtd_first(*[craft.descriptor(0xF8, bytes([1]) + b''.join(cvt[i:i + 4]))
                                                          for i in range(start, min(start + 12, len(cvt)), 4)]))])
    t = craft.displayid_timing
    by_formula = lambda formula, w, h, rate: bytes([formula]) + b''.join((n - 1).to_bytes(2, 'little') for n in (w, h)) + \
        bytes([rate - 1])
    edids.append([craft.base(extensions=2),
                  craft.displayid([craft.displayid_block(0x03, t(14850, 1920, 280, 88, 44, 1080, 45, 4, 5, 0x80) +
                                                         t(7425, 1920, 280, 88, 44, 1080, 45, 4, 5, 0x10) +
                                                         t(64500, 2560, 160, 8, 32, 1440, 40, 6, 8)),
                                   # types II (1920 x 1080 interlaced, 3440 x 1440), III (CVT codes) and V
                                   craft.displayid_block(0x04, bytes.fromhex('001d0010ef44a537041514'
                                                                             'b47c0080ad27539f052829')),
                                   craft.displayid_block(0x05, bytes.fromhex('04ef3b15ef7706b363827f4a')),
                                   craft.displayid_block(0x11, b'\0' + by_formula(0, 1366, 768, 60) + b'\0' +
                                                         by_formula(0, 2560, 1080, 144))]),
                  craft.displayid([craft.displayid_block(0x22, t(593410, 3840, 160, 8, 32, 2160, 62, 3, 5)),
                                   craft.displayid_block(0x23, [16, 97, 5], revision=0x40),
                                   craft.displayid_block(0x24, by_formula(0, 1366, 768, 60) + by_formula(1, 2560, 1440, 144) +
                                                         by_formula(2, 3840, 2160, 120) + by_formula(0x12, 5120, 2160, 75) +
                                                         by_formula(1, 912, 548, 60) + by_formula(1, 1312, 1050, 30)),
                                   craft.displayid_block(0x32, by_formula(3, 2560, 1440, 165))], version=0x20)])
    # DisplayID timings of types VII, VIII and X in a CTA-861 block
    edids.append([craft.base(extensions=1),
                  craft.cta(craft.extended_block(0x22, b'\0' + t(533250, 3840, 160, 48, 32, 2160, 62, 3, 5)) +
                            craft.extended_block(0x23, [0, 0x52, 0x53]) +
                            craft.extended_block(0x2A, b'\0' + by_formula(3, 1920, 1080, 60) +
                                                 by_formula(0x12, 2560, 1440, 120)))])
    paths = []
    for n, blocks in enumerate(edids):
        paths.append(os.path.join(folder, 'synthetic-%03d.bin' % n))
        with open(paths[-1], 'wb') as out:
            out.write(b''.join(blocks))
    return paths


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--tool', required=True, help='edid_report.exe of the build that Wine runs here')
    parser.add_argument('--loader', required=True, help='the Wine loader that runs it')
    parser.add_argument('--synthetic', action='store_true', help='add EDIDs that list every code')
    parser.add_argument('paths', nargs='*', default=[os.path.join(HERE, 'samples')])
    args = parser.parse_args()
    files = []
    for path in map(os.path.abspath, args.paths):
        files += sorted(os.path.join(path, n) for n in os.listdir(path) if not n.endswith(('.md', '.txt'))) \
            if os.path.isdir(path) else [path]
    with tempfile.TemporaryDirectory() as work:
        files += synthetic(work) if args.synthetic else []
        reports = run_reports(args.tool, args.loader, files)
        if len(reports) != len(files):
            print('edid_report gave %d reports for %d files' % (len(reports), len(files)))
            return 1
        failed = 0
        for path, lines in zip(files, reports):
            found = reference(path)
            if found is None:  # edid-decode refuses it: the report must say what is wrong
                problems = [] if any(l.startswith('Note:') for l in lines) else ['no note: %r' % lines]
            else:
                expected, modes, native = found
                actual, listed = parse_report(lines)
                problems = ['%s: edid-decode %r, report %r' % (k, expected.get(k, {None}), actual.get(k))
                            for k in KEYS if actual.get(k) not in expected.get(k, {None})]
                problems += compare_modes(modes, native, listed)
            for problem in problems:
                print('%s: %s' % (os.path.basename(path), problem))
            failed += bool(problems)
    print('edid_compare: %d passed, %d failed' % (len(files) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
