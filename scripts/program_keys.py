"""Prints the ECDSA P-256 public keys a program file carries, one a line: X then Y, 128 hex
digits, as the program holds them (64 bytes, big-endian). A key is found wherever its 64 bytes
lie in the file's data (every section that is neither code nor resources, and what follows the
last section): any 64 bytes that make a point of the curve, which random bytes practically never
do. scripts/release.sh and scripts/sign_update.sh ask it what a program trusts.

Usage: program_keys.py PROGRAM.exe
"""
import struct
import sys

# The curve y^2 = x^3 - 3x + b over the prime p (NIST P-256).
P = 0xFFFFFFFF00000001000000000000000000000000FFFFFFFFFFFFFFFFFFFFFFFF
B = 0x5AC635D8AA3A93E7B3EBBD55769886BC651D06B0CC53B0F63BCE3C3E27D2604B
KEY_SIZE = 64
EXECUTABLE = 0x20000000  # IMAGE_SCN_MEM_EXECUTE
RESOURCE_DIRECTORY = 2


def fail(why):
    sys.exit("program_keys.py: %s: %s" % (sys.argv[1], why))


def data_ranges(data):
    """The (start, end) file offsets of the data a key may lie in."""

    def u16(at):
        return struct.unpack_from("<H", data, at)[0]

    def u32(at):
        return struct.unpack_from("<I", data, at)[0]

    if data[:2] != b"MZ":
        fail("not a program file")
    pe = u32(0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        fail("not a program file")
    sections, optional_size = u16(pe + 6), u16(pe + 20)
    optional = pe + 24
    directories = optional + {0x10B: 96, 0x20B: 112}[u16(optional)]
    resources_rva = u32(directories + RESOURCE_DIRECTORY * 8)
    ranges, end_of_sections = [], 0
    for i in range(sections):
        s = optional + optional_size + 40 * i
        address, raw_size, raw = u32(s + 12), u32(s + 16), u32(s + 20)
        end_of_sections = max(end_of_sections, raw + raw_size)
        if u32(s + 36) & EXECUTABLE or address == resources_rva:
            continue
        ranges.append((raw, min(raw + raw_size, len(data))))
    ranges.append((end_of_sections, len(data)))
    return ranges


def keys(data):
    found = []
    number = int.from_bytes
    view = memoryview(data)
    for start, end in data_ranges(data):
        for at in range(start, end - KEY_SIZE + 1):
            x = number(view[at:at + 32], "big")
            y = number(view[at + 32:at + KEY_SIZE], "big")
            if x < P and y < P and (y * y - (x * x - 3) * x - B) % P == 0:
                found.append(data[at:at + KEY_SIZE].hex())
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    try:
        data = open(sys.argv[1], "rb").read()
        carried = keys(data)
    except OSError as error:
        fail(error.strerror)
    except (struct.error, IndexError, KeyError):
        fail("not a program file")
    for key in dict.fromkeys(carried):
        print(key)


main()
