#!/usr/bin/env python3
"""Makes edid/standard_modes.cpp: the modes that an EDID names by a code, as the published
standards define them: VESA DMT by ID and the standard timing codes that stand for a DMT mode,
the established timings I, II and III, CTA-861 video codes (VICs) and HDMI VICs.

The facts come from Debian's edid-decode, run on EDIDs written here that list every code.
make_edid_tables.py [--check]: writes the file, or with --check only compares it with what
edid-decode says now and exits 1 when they differ. (The tests compare the report of EDIDs that
list every code with edid-decode, which covers the tables too.)
"""
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import edid_craft as craft  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TARGET = os.path.join(ROOT, 'edid', 'standard_modes.cpp')


def millihertz(figure):
    whole, _, fraction = figure.partition('.')
    micro = int(whole) * 1000000 + int((fraction + '000000')[:6])
    return (micro + 500) // 1000


def mode_lines(out):
    """(label, width, height, interlaced, millihertz) of every mode line."""
    return [(m[1] or '', int(m[2]), int(m[3]), m[4] == 'i', millihertz(m[5])) for m in craft.MODE_LINE.finditer(out)]


def collect(work):
    path = os.path.join(work, 'codes.bin')
    decode = lambda blocks: craft.edid_decode(b''.join(blocks), path)
    # DMT by ID, from DisplayID blocks of DMT IDs.
    dmt = {}
    ids = list(range(1, 256))
    blocks = [craft.displayid([craft.displayid_block(0x06, ids[i:i + 110])]) for i in range(0, len(ids), 110)]
    for label, w, h, i, mhz in mode_lines(decode([craft.base(extensions=len(blocks))] + blocks)):
        dmt[int(label.split()[1], 16)] = (w, h, i, mhz)
    # The established timings I and II, one bit at a time, and III by the DMT ID it names.
    established = []
    for bit in range(17):
        bits = (1 << (23 - bit)).to_bytes(3, 'big')
        lines = mode_lines(decode([craft.base(established=bits)]))
        established.append(lines[0][1:] if lines else None)
    established3 = []
    for bit in range(44):
        bits = (1 << (47 - bit)).to_bytes(6, 'big')
        lines = mode_lines(decode([craft.base(descriptors=[craft.descriptor(0xF7, bytes([10]) + bits)])]))
        established3.append(int(lines[0][0].split()[1], 16) if lines else 0)
    # The standard timing codes that stand for a DMT mode: every code of a DMT width, eight to
    # an EDID, each giving one line in order.
    codes = sorted({(w // 8 - 31) << 8 | low for (w, h, i, mhz) in dmt.values() if w % 8 == 0 and 256 <= w <= 2288
                    for low in range(256)})
    standard = {}
    for start in range(0, len(codes), 8):
        chunk = codes[start:start + 8]
        lines = mode_lines(decode([craft.base(version=(1, 3), standard=chunk)]))
        for code, line in zip(chunk, lines):
            if line[0].startswith('DMT'):
                standard[code] = int(line[0].split()[1], 16)
    # VICs: every byte of a video data block that is a code (128 to 192 flag a native one).
    vics = {}
    codes = list(range(1, 128)) + list(range(193, 256))
    blocks = []
    for start in range(0, len(codes), 93):
        chunk = codes[start:start + 93]
        blocks.append(craft.cta(b''.join(craft.data_block(2, chunk[i:i + 31]) for i in range(0, len(chunk), 31))))
    for label, w, h, i, mhz in mode_lines(decode([craft.base(extensions=len(blocks))] + blocks)):
        vics[int(label.split()[1])] = (w, h, i, mhz)
    hdmi = {}
    for label, w, h, i, mhz in mode_lines(decode([craft.base(extensions=1), craft.cta(craft.hdmi_vics(range(1, 8)))])):
        hdmi[int(label.split()[2])] = (w, h, i, mhz)
    return dmt, established, established3, standard, vics, hdmi


def mode(entry, comment):
    w, h, i, mhz = entry or (0, 0, False, 0)
    return '    { %d, %d, %d, %d },%s' % (w, h, int(i), mhz, '  // ' + comment if entry else '')


def source(dmt, established, established3, standard, vics, hdmi):
    out = ['// The modes that an EDID names by a code, as the published standards define them.',
           '// Made by tools/make_edid_tables.py from edid-decode\'s output; do not edit.',
           '#include "edid/standard_modes.h"', '',
           '// VESA DMT, by ID.',
           'const StandardMode DmtModes[EDID_DMT_IDS] = {']
    out += [mode(dmt.get(n), 'DMT 0x%02x' % n) for n in range(max(dmt) + 1)]
    out += ['};', '', '// The standard timing codes that stand for a DMT mode, in ascending order.',
            'const StandardCode DmtStandardCodes[EDID_DMT_STANDARD_CODES] = {']
    out += ['    { 0x%04x, 0x%02x },' % (code, standard[code]) for code in sorted(standard)]
    out += ['};', '', '// The established timings I and II, from byte 35 bit 7 to byte 37 bit 7.',
            'const StandardMode EstablishedModes[EDID_ESTABLISHED_BITS] = {']
    out += [mode(entry, 'bit %d' % n) for n, entry in enumerate(established)]
    out += ['};', '', '// The established timings III: the DMT ID of each bit, from byte 6 bit 7; 0 for none.',
            'const unsigned char EstablishedIIIIds[EDID_ESTABLISHED_III_BITS] = {']
    out += ['    ' + ', '.join('0x%02x' % n for n in established3[row:row + 11]) + ',' for row in range(0, 44, 11)]
    out += ['};', '', '// CTA-861 video codes, by VIC.', 'const StandardMode VicModes[EDID_VICS] = {']
    out += [mode(vics.get(n), 'VIC %d' % n) for n in range(256)]
    out += ['};', '', '// HDMI VICs of the HDMI vendor block.', 'const StandardMode HdmiVicModes[EDID_HDMI_VICS] = {']
    out += [mode(hdmi.get(n), 'HDMI VIC %d' % n) for n in range(max(hdmi) + 1)]
    out += ['};', '']
    sizes = (max(dmt) + 1, len(standard), max(hdmi) + 1)
    return '\n'.join(out), sizes


def main():
    with tempfile.TemporaryDirectory() as work:
        text, sizes = source(*collect(work))
    header = open(os.path.join(ROOT, 'edid', 'standard_modes.h')).read()
    expected = dict(EDID_DMT_IDS=sizes[0], EDID_DMT_STANDARD_CODES=sizes[1], EDID_HDMI_VICS=sizes[2])
    wrong = ['%s is %s in standard_modes.h, %d by edid-decode' % (name, (re.search(name + r' = (\d+)', header) or [0, '?'])[1], size)
             for name, size in expected.items() if not re.search(r'\b%s = %d\b' % (name, size), header)]
    if sys.argv[1:] == ['--check']:
        current = open(TARGET).read() if os.path.exists(TARGET) else ''
        if current != text or wrong:
            theirs, ours = text.split('\n'), current.split('\n')
            for n, (a, b) in enumerate(zip(theirs, ours)):
                if a != b:
                    print('edid/standard_modes.cpp line %d: %r; edid-decode: %r' % (n + 1, b, a))
                    break
            print('\n'.join(wrong) or 'edid/standard_modes.cpp differs from edid-decode (%d lines, %d expected)'
                  % (len(ours), len(theirs)))
            return 1
        print('edid_tables: the tables agree with edid-decode')
        return 0
    with open(TARGET, 'w') as out:
        out.write(text)
    for line in wrong:
        print('set ' + line)
    return 0


if __name__ == '__main__':
    sys.exit(main())
