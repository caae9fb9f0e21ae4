"""Writes EDIDs byte by byte: a base block, CTA-861 and DisplayID extension blocks and their
parts, each with its checksum. Used to make the tables of standard modes from edid-decode's
output (make_edid_tables.py) and by the tests' comparison with edid-decode."""
import re
import struct
import subprocess

HEADER = bytes([0, 255, 255, 255, 255, 255, 255, 0])
DUMMY = bytes([0, 0, 0, 0x10]) + bytes(14)


def with_checksum(block):
    block = bytearray(block)
    block[127] = -sum(block[:127]) & 0xFF
    return bytes(block)


def base(version=(1, 4), standard=(), descriptors=(), established=(0, 0, 0), extensions=0,
         input_byte=0xA5, size_cm=(60, 34), colours=bytes(10)):
    """A base block: standard timing codes (0x0101 fills the rest), up to four descriptors."""
    b = bytearray(128)
    b[0:8] = HEADER
    b[8:12] = bytes([0x41, 0x0C, 0x34, 0x12])  # "PEL", product code 1234
    b[16], b[17], b[18], b[19] = 1, 30, version[0], version[1]
    b[20], b[21], b[22], b[23], b[24] = input_byte, size_cm[0], size_cm[1], 0x78, 0x2A
    b[25:35] = colours
    b[35:38] = bytes(established)
    codes = list(standard) + [0x0101] * (8 - len(standard))
    b[38:54] = b''.join(struct.pack('>H', c) for c in codes)
    slots = list(descriptors) + [DUMMY] * (4 - len(descriptors))
    b[54:126] = b''.join(slots)
    b[126] = extensions
    return with_checksum(b)


def dtd(clock_10khz, h_active, h_blank, v_active, v_blank, h_front=8, h_sync=32, v_front=3, v_sync=5,
        size_mm=(600, 340), flags=0x1A):
    d = bytearray(18)
    d[0:2] = struct.pack('<H', clock_10khz)
    d[2], d[3], d[4] = h_active & 0xFF, h_blank & 0xFF, (h_active >> 8) << 4 | h_blank >> 8
    d[5], d[6], d[7] = v_active & 0xFF, v_blank & 0xFF, (v_active >> 8) << 4 | v_blank >> 8
    d[8], d[9], d[10] = h_front & 0xFF, h_sync & 0xFF, (v_front & 15) << 4 | v_sync & 15
    d[11] = (h_front >> 8) << 6 | (h_sync >> 8) << 4 | (v_front >> 4) << 2 | v_sync >> 4
    d[12], d[13], d[14] = size_mm[0] & 0xFF, size_mm[1] & 0xFF, (size_mm[0] >> 8) << 4 | size_mm[1] >> 8
    d[17] = flags
    return bytes(d)


def descriptor(tag, payload):
    """A display descriptor: 13 bytes of payload after the tag, padded with zeros."""
    return bytes([0, 0, 0, tag, 0]) + bytes(payload)[:13].ljust(13, b'\0')


def standard_descriptor(codes):
    codes = list(codes) + [0x0101] * (6 - len(codes))
    return descriptor(0xFA, b''.join(struct.pack('>H', c) for c in codes) + b'\n')


def cvt_code(lines, aspect, preferred, supported):
    """A CVT 3-byte code: lines addressable, aspect 0-3, preferred rate 0-3, supported rate bits."""
    value = lines // 2 - 1
    return bytes([value & 0xFF, (value >> 8) << 4 | aspect << 2, preferred << 5 | supported])


def cta(data_blocks=b'', timings=(), revision=3):
    b = bytearray(128)
    b[0], b[1], b[2] = 2, revision, 4 + len(data_blocks)
    b[4:4 + len(data_blocks)] = data_blocks
    at = 4 + len(data_blocks)
    for timing in timings:
        b[at:at + 18] = timing
        at += 18
    return with_checksum(b)


def data_block(tag, payload):
    return bytes([tag << 5 | len(payload)]) + bytes(payload)


def extended_block(extended_tag, payload):
    return data_block(7, bytes([extended_tag]) + bytes(payload))


def hdmi_vics(vics):
    """An HDMI vendor block that lists HDMI VICs."""
    return data_block(3, bytes([0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x3C, 0x20, 0x00, len(vics) << 5]) + bytes(vics))


def displayid(data_blocks, version=0x12, product=0):
    b = bytearray(128)
    payload = b''.join(data_blocks)
    b[0], b[1], b[2], b[3], b[4] = 0x70, version, len(payload), product, 0
    b[5:5 + len(payload)] = payload
    b[5 + len(payload)] = -sum(b[1:5 + len(payload)]) & 0xFF
    return with_checksum(b)


def displayid_block(tag, payload, revision=0):
    return bytes([tag, revision, len(payload)]) + bytes(payload)


def displayid_timing(clock, h_active, h_blank, h_front, h_sync, v_active, v_blank, v_front, v_sync, options=0):
    """A 20-byte DisplayID detailed timing (type I: clock in 10 kHz; type VII: in kHz)."""
    return struct.pack('<I', clock - 1)[:3] + bytes([options]) + struct.pack(
        '<8H', h_active - 1, h_blank - 1, h_front - 1, h_sync - 1, v_active - 1, v_blank - 1, v_front - 1, v_sync - 1)


def edid_decode(data, path):
    """What edid-decode prints of the bytes, written to path first."""
    with open(path, 'wb') as out:
        out.write(data)
    return subprocess.run(['edid-decode', path], capture_output=True).stdout.decode('latin-1')


# A mode line of edid-decode: "DMT 0x09:   800x600    60.316541 Hz ..."; groups: the label
# before the size, width, height, "i" when interlaced, refresh.
MODE_LINE = re.compile(r'^\s+(\S.*?)?:?\s+(\d+)x(\d+)(i?)\s+(\S+) Hz\b', re.M)
