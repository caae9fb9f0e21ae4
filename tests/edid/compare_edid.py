#!/usr/bin/env python3
"""Compares the monitor report of EDID files with what Debian's edid-decode says of them.

compare_edid.py [--tool EDID_REPORT.EXE] [--loader WINE] [FILE_OR_FOLDER ...]

Runs edid_report under Wine once for all files (in batches that fit a command line) and
edid-decode on each, and compares per file: manufacturer, product code, serial number, name,
manufacture date, version and extension count, image size, native mode with its refresh
(edid-decode's figure rounded to three decimals), native size, refresh range and the blocks
with a wrong checksum. Default: the samples beside this script. Exit 1 when any file differs.
"""
import argparse, os, re, subprocess, sys, tempfile
from decimal import Decimal, InvalidOperation, ROUND_HALF_DOWN, ROUND_HALF_UP

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
KEYS = ('Monitor', 'Manufacturer', 'Product code', 'Serial number', 'Manufactured', 'EDID',
        'Image size', 'Native mode', 'Native size', 'Refresh range', 'Bad checksums')


def wine32_works():
    return subprocess.run(['/usr/lib/wine/wine', '--version'], capture_output=True).returncode == 0


def first(pattern, lines):
    for line in lines:
        m = re.search(pattern, line)
        if m:
            return m
    return None


def value(pattern, lines):
    m = first(pattern, lines)
    return m and m.group(1)


def first_text(pattern, lines):
    """The first descriptor text that is not empty once trailing spaces go."""
    for line in lines:
        m = re.search(pattern + r": '(.*)'$", line)
        if m and m.group(1).strip(' '):
            return m.group(1).strip(' ')
    return None


def refreshes(figure):
    """The three-decimal figures that edid-decode's six-decimal one may stand for."""
    try:
        value = Decimal(figure)
        if not value.is_finite():
            return set()
    except InvalidOperation:
        return set()
    found = {value.quantize(Decimal('0.001'), ROUND_HALF_UP)}
    found.add(value.quantize(Decimal('0.001'), ROUND_HALF_DOWN))  # differs only on a printed tie
    return {'%s' % f for f in found}


def field_refresh(lines):
    """An interlaced timing's refresh with its vertical borders counted: edid-decode's figure
    leaves them out of the field (its Vback goes negative for them), the standard counts them."""
    detail = ' '.join(lines[1:])
    border = re.search(r'Vborder (\d+)', detail)
    if not border:
        return None
    item = lambda name: int((re.search(name + r'\s+(-?\d+)', detail) or [0, 0])[1])
    width, height = map(int, re.search(r'(\d+)x(\d+)i', lines[0]).groups())
    pixels = width + item('Hfront') + item('Hsync') + item('Hback') + 2 * item('Hborder')
    field = height // 2 + item('Vfront') + item('Vsync') + item('Vback') + 2 * item('Vborder')
    clock = Decimal(re.search(r'([\d.]+) MHz', lines[0]).group(1)) * 1000000
    return str(clock / (pixels * (field + Decimal('0.5'))))


def reference(path):
    """What edid-decode says, as the report would say it; None when it decodes nothing."""
    run = subprocess.run(['edid-decode', path], capture_output=True)
    lines = run.stdout.decode('latin-1').split('\n')
    for end, line in enumerate(lines):  # the conformity sections that some runs add
        if line.startswith(('Warnings:', 'Failures:', 'EDID conformity')):
            lines = lines[:end]
            break
    starts = [i for i, line in enumerate(lines) if re.match(r'Block \d+, ', line)]
    if not starts or not lines[starts[0]].startswith('Block 0, Base EDID'):
        return None
    base = lines[starts[0]:starts[1] if len(starts) > 1 else len(lines)]
    facts = {'Manufacturer': value(r'^\s+Manufacturer: (.*)$', base)}
    model = value(r'^\s+Model: (\S+)', base) or ''
    facts['Product code'] = model and '%04X' % int(model, 16 if model.startswith('0x') else 10)
    number = first(r'^\s+Serial Number: (\d+)', base)
    facts['Serial number'] = first_text('Display Product Serial Number', base) or (
        number and int(number.group(1)) and number.group(1))
    facts['Monitor'] = first_text('Display Product Name', base)
    made = first(r'Made in: (?:week (\d+) of )?(\d+)|Model year: (\d+)', base)
    facts['Manufactured'] = made and ('model year ' + made.group(3) if made.group(3) else
                                      'week %s of %s' % made.groups()[:2] if made.group(1) else made.group(2))
    version = value(r'EDID Structure Version & Revision: (\d+\.\d+)', base)
    count = int(value(r'^\s+Extension blocks: (\d+)', base) or 0)
    facts['EDID'] = 'version %s, %d extension block%s' % (version, count, '' if count == 1 else 's')
    size = first(r'Maximum image size: (\d+) cm x (\d+) cm|Aspect ratio: (\S+) \((\w+)\)', base)
    facts['Image size'] = size and ('%s x %s cm' % size.groups()[:2] if size.group(1) else
                                    'not given; aspect ratio %s (%s)' % size.groups()[2:])
    limits = first(r'Monitor ranges \(.*\): (\d+)-(\d+) Hz V', base)
    facts['Refresh range'] = limits and int(limits.group(2)) and '%s - %s Hz' % limits.groups()
    # The first numbered one: a filler timing below 10 MHz takes a number but shows no line.
    found = [(k, m) for k, m in ((k, re.match(r'\s+DTD\s+\d+:\s+(\d+)x(\d+)(i?)\s+(\S+) Hz', line))
                                 for k, line in enumerate(lines)) if m]
    if found:
        k, timing = found[0]
        mode = '%s x %s%s' % (timing.group(1), timing.group(2), ' interlaced' if timing.group(3) else '')
        figure = timing.group(3) and field_refresh(lines[k:k + 3]) or timing.group(4)
        facts['Native mode'] = {mode + ' at %s Hz' % r for r in refreshes(figure)} or {mode}
        mm = re.search(r'(\d+) mm x (\d+) mm', timing.string)
        facts['Native size'] = mm and int(mm.group(1)) and int(mm.group(2)) and '%s x %s mm' % mm.groups()
    bad, block = [], 0
    for line in lines:
        m = re.match(r'Block (\d+), ', line)
        block = int(m.group(1)) if m else block
        if re.match(r'Checksum: \S+ \(should be', line) and block <= count:
            bad.append(str(block))
    facts['Bad checksums'] = ' '.join(bad)
    return {k: v for k, v in facts.items() if v}


def parse_report(lines):
    facts, bad = {}, []
    for line in lines:
        label, _, value = line.partition(': ')
        m = re.match(r'Note: EDID block (\d+) has a wrong checksum', line)
        if m:
            bad.append(m.group(1))
        elif label in KEYS:
            facts[label] = value.strip()
    facts['Bad checksums'] = ' '.join(bad) or None
    return facts


def run_reports(tool, loader, files):
    """The report lines of each file, in order: one Wine start per batch."""
    env = dict(os.environ, WINEDEBUG=os.environ.get('WINEDEBUG', '-all'))
    batches, batch = [], []
    for path in files:
        if batch and sum(len(p) + 3 for p in batch) + len(path) > 20000:
            batches.append(batch)
            batch = []
        batch.append('Z:' + path.replace('/', '\\'))
    batches.append(batch)
    reports = []
    for batch in batches:
        with tempfile.TemporaryFile() as out:  # Wine's helpers would keep a pipe open
            subprocess.run([loader, tool] + batch, stdout=out, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL, env=env)
            out.seek(0)
            text = out.read().decode('latin-1').replace('\r', '')
        for section in re.split(r'^== .*\n', text, flags=re.M)[1:]:
            reports.append(section.split('\n'))
    return reports


def main():
    wine32 = wine32_works()
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--tool', default=os.path.join(
        ROOT, 'build' if wine32 else 'build/x64', 'tests', 'edid_report.exe'))
    parser.add_argument('--loader', default='/usr/lib/wine/wine' if wine32 else '/usr/lib/wine/wine64')
    parser.add_argument('paths', nargs='*', default=[os.path.join(HERE, 'samples')])
    args = parser.parse_args()
    files = []
    for path in args.paths:
        if os.path.isdir(path):
            files += sorted(os.path.join(path, n) for n in os.listdir(path) if not n.endswith(('.md', '.txt')))
        else:
            files.append(path)
    files = [os.path.abspath(f) for f in files]
    reports = run_reports(args.tool, args.loader, files)
    if len(reports) != len(files):
        print('edid_report gave %d reports for %d files' % (len(reports), len(files)))
        return 1
    failed = 0
    for path, lines in zip(files, reports):
        expected, actual = reference(path), parse_report(lines)
        if expected is None:
            problems = [] if any(l.startswith('Note:') for l in lines) else [
                'edid-decode decodes nothing, but the report has no note: %r' % lines]
        else:
            problems = ['%s: edid-decode %r, report %r' % (k, expected.get(k), actual.get(k)) for k in KEYS
                        if actual.get(k) != expected.get(k) and not (
                            isinstance(expected.get(k), set) and actual.get(k) in expected[k])]
        for problem in problems:
            print('%s: %s' % (os.path.basename(path), problem))
        failed += bool(problems)
    print('edid_compare: %d passed, %d failed' % (len(files) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
