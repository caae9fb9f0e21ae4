#!/usr/bin/env python3
"""Compares the monitor report of EDID files with what Debian's edid-decode says of them.

compare_edid.py --tool EDID_REPORT.EXE --loader WINE [FILE_OR_FOLDER ...]  (default: samples/);
tools/edid-compare.sh runs it with the build that Wine runs here.
Per file: identity, name, manufacture date, version and extension count, image size, native
mode with its refresh (edid-decode's figure rounded to 0.001 Hz), native size, refresh range
and the blocks with a wrong checksum. Exits 1 when any file differs.
"""
import argparse, os, re, subprocess, sys, tempfile
from decimal import Decimal, InvalidOperation, ROUND_HALF_DOWN, ROUND_HALF_UP

HERE = os.path.dirname(os.path.abspath(__file__))
KEYS = ('Monitor', 'Manufacturer', 'Product code', 'Serial number', 'Manufactured', 'EDID',
        'Image size', 'Native mode', 'Native size', 'Refresh range', 'Bad checksums')


def refreshes(figure):
    """The three-decimal figures that a six-decimal one may stand for (both, on a printed tie)."""
    try:
        value = Decimal(figure)  # "inf" or "-nan" with a zero total
        return {'%s' % value.quantize(Decimal('0.001'), r) for r in (ROUND_HALF_UP, ROUND_HALF_DOWN)
                if value.is_finite()}
    except (InvalidOperation, TypeError):
        return set()


def field_refresh(timing):
    """An interlaced timing's refresh with its vertical borders counted in the field, as the
    standard counts them; edid-decode's figure leaves them out (its Vback goes negative)."""
    item = lambda name: int((re.search(name + r'\s+(-?\d+)', timing) or [0, 0])[1])
    width, height = map(int, re.search(r'(\d+)x(\d+)i', timing).groups())
    pixels = width + item('Hfront') + item('Hsync') + item('Hback') + 2 * item('Hborder')
    field = height // 2 + item('Vfront') + item('Vsync') + item('Vback') + 2 * item('Vborder')
    clock = Decimal(re.search(r'([\d.]+) MHz', timing).group(1)) * 1000000
    return str(clock / (pixels * (field + Decimal('0.5'))))


def reference(path):
    """What edid-decode says, worded as the report words it; None when it decodes nothing."""
    out = subprocess.run(['edid-decode', path], capture_output=True).stdout.decode('latin-1')
    out = re.split(r'^(?:Warnings:|Failures:|EDID conformity)', out, flags=re.M)[0]
    blocks = re.split(r'^(?=Block \d+, )', out, flags=re.M)[1:]
    if not blocks or not blocks[0].startswith('Block 0, Base EDID'):
        return None
    get = lambda pattern: (lambda m: m and m.groups())(re.search(pattern, blocks[0], re.M))
    texts = lambda kind: [t.strip() for t in re.findall(kind + r": '(.*)'$", blocks[0], re.M) if t.strip()]
    f = {'Manufacturer': get(r'Manufacturer: (.*)$')[0], 'Monitor': (texts('Product Name') + [None])[0]}
    model = get(r'Model: (\S+)')[0]
    f['Product code'] = '%04X' % int(model, 16 if model.startswith('0x') else 10)
    number = get(r'Serial Number: (\d+)')
    f['Serial number'] = (texts('Product Serial Number') + [number and int(number[0]) and number[0]])[0]
    week, year, model_year = get(r'Made in: (?:week (\d+) of )?(\d+)|Model year: (\d+)') or (None,) * 3
    f['Manufactured'] = model_year and 'model year ' + model_year or week and 'week %s of %s' % (week, year) or year
    count = int((get(r'Extension blocks: (\d+)') or ['0'])[0])
    f['EDID'] = 'version %s, %d extension block%s' % (get(r'Revision: (\d+\.\d+)')[0], count, 's' * (count != 1))
    size = get(r'Maximum image size: (\d+) cm x (\d+) cm|Aspect ratio: (\S+) \((\w+)\)')
    f['Image size'] = size and ('%s x %s cm' % size[:2] if size[0] else 'not given; aspect ratio %s (%s)' % size[2:])
    limits = get(r'Monitor ranges \(.*\): (\d+)-(\d+) Hz V')
    f['Refresh range'] = limits and int(limits[1]) and '%s - %s Hz' % limits
    # The first numbered timing: a filler one below 10 MHz takes a number but has no line.
    timing = re.search(r'^ +DTD +\d+: +(\d+)x(\d+)(i?) +(\S+) Hz.*\n.*\n.*', out, re.M)
    if timing:
        mode = '%s x %s%s' % (timing[1], timing[2], ' interlaced' if timing[3] else '')
        figure = field_refresh(timing[0]) if timing[3] and 'Vborder' in timing[0] else timing[4]
        f['Native mode'] = {mode + ' at %s Hz' % r for r in refreshes(figure)} or {mode}
        mm = re.search(r'(\d+) mm x (\d+) mm', timing[0].split('\n')[0])
        f['Native size'] = mm and int(mm[1]) and int(mm[2]) and '%s x %s mm' % mm.groups()
    f['Bad checksums'] = ' '.join(re.match(r'Block (\d+)', b)[1] for b in blocks[:count + 1]
                                  if re.search(r'^Checksum: \S+ \(should be', b, re.M))
    return {k: v if isinstance(v, set) else {v} for k, v in f.items() if v}


def parse_report(lines):
    found = dict(line.split(': ', 1) for line in lines if line.split(': ', 1)[0] in KEYS)
    bad = [m[1] for m in (re.match(r'Note: EDID block (\d+) has a wrong checksum', l) for l in lines) if m]
    return dict({k: v.strip() for k, v in found.items()}, **{'Bad checksums': ' '.join(bad) or None})


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
            text = out.read().decode('latin-1').replace('\r', '')
        reports += [section.split('\n') for section in re.split(r'^== .*\n', text, flags=re.M)[1:]]
    return reports


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--tool', required=True, help='edid_report.exe of the build that Wine runs here')
    parser.add_argument('--loader', required=True, help='the Wine loader that runs it')
    parser.add_argument('paths', nargs='*', default=[os.path.join(HERE, 'samples')])
    args = parser.parse_args()
    files = []
    for path in map(os.path.abspath, args.paths):
        files += sorted(os.path.join(path, n) for n in os.listdir(path) if not n.endswith(('.md', '.txt'))) \
            if os.path.isdir(path) else [path]
    reports = run_reports(args.tool, args.loader, files)
    if len(reports) != len(files):
        print('edid_report gave %d reports for %d files' % (len(reports), len(files)))
        return 1
    failed = 0
    for path, lines in zip(files, reports):
        expected, actual = reference(path), parse_report(lines)
        if expected is None:  # edid-decode refuses it: the report must say what is wrong
            problems = [] if any(l.startswith('Note:') for l in lines) else ['no note: %r' % lines]
        else:
            problems = ['%s: edid-decode %r, report %r' % (k, expected.get(k, {None}), actual.get(k))
                        for k in KEYS if actual.get(k) not in expected.get(k, {None})]
        for problem in problems:
            print('%s: %s' % (os.path.basename(path), problem))
        failed += bool(problems)
    print('edid_compare: %d passed, %d failed' % (len(files) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
