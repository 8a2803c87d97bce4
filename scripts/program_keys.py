"""Prints the ECDSA P-256 public keys a program file carries, one a line: X then Y, 128 hex
digits, as the program holds them (64 bytes, big-endian). A key is found wherever its 64 bytes
lie in the file's data (every section that is neither code nor resources, and what follows the
last section but for an Authenticode signature): any 64 bytes that make a point of the curve,
which random bytes practically never do. scripts/release.sh and scripts/sign_update.sh ask it what a program trusts.

Usage: program_keys.py PROGRAM.exe
"""
import struct
import sys

from program_file import NotAProgram, ProgramFile

# The curve y^2 = x^3 - 3x + b over the prime p (NIST P-256).
P = 0xFFFFFFFF00000001000000000000000000000000FFFFFFFFFFFFFFFFFFFFFFFF
B = 0x5AC635D8AA3A93E7B3EBBD55769886BC651D06B0CC53B0F63BCE3C3E27D2604B
KEY_SIZE = 64
EXECUTABLE = 0x20000000  # IMAGE_SCN_MEM_EXECUTE


def fail(why):
    sys.exit("program_keys.py: %s: %s" % (sys.argv[1], why))


def data_ranges(data):
    """The (start, end) file offsets of the data a key may lie in."""
    program = ProgramFile(data)
    ranges, end_of_sections = [], 0
    for s in program.sections:
        end_of_sections = max(end_of_sections, s.raw + s.raw_size)
        if s.flags & EXECUTABLE or s.address == program.resources_rva:
            continue
        ranges.append((s.raw, min(s.raw + s.raw_size, len(data))))
    # A signature for Windows ends the file. Its certificates carry keys of their own, often
    # P-256 ones, which the program never loads, let alone trusts.
    start, size = program.certificates
    if size and end_of_sections <= start and start + size == len(data):
        ranges.append((end_of_sections, start))
    else:
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
    except (NotAProgram, struct.error, IndexError, KeyError):
        fail("not a program file")
    for key in dict.fromkeys(carried):
        print(key)


main()
