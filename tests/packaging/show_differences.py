"""Prints where two builds of a file differ: each run of differing bytes, its offset and both
sides' bytes in hex, and in a program file the part of it the run lies in (the headers, which
hold the link's time stamp and the checksum, or a section by name), so that a build that is not
reproducible names what changed.

Usage: show_differences.py FIRST SECOND [RUNS]
  at most RUNS runs, by default 12 in a program file and 3 in another (an archive, where one
  change shows in all that follows)
Exit status 0 when the files are the same, 1 when they differ.
"""
import struct
import sys


def regions(data):
    """(start, end, name) of a program file's parts; none for other files."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return []
    try:
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            return []
        count, optional_size = struct.unpack_from("<HH", data, pe + 6)[0], struct.unpack_from(
            "<H", data, pe + 20)[0]
        table = pe + 24 + optional_size
        parts = []
        for i in range(count):
            at = table + 40 * i
            name = data[at:at + 8].rstrip(b"\0").decode("ascii", "replace")
            size, raw = struct.unpack_from("<II", data, at + 16)
            parts.append((raw, raw + size, "section " + name))
        first = min([start for start, _, _ in parts if start] or [len(data)])
        end = max([stop for _, stop, _ in parts] or [first])
        # The fields a build most often gets different first.
        fields = [(pe + 8, pe + 12, "headers: the link's time stamp"),
                  (pe + 24 + 64, pe + 24 + 68, "headers: the checksum")]
        return fields + [(0, first, "headers")] + parts + [(end, len(data), "after the sections")]
    except struct.error:
        return []


def where(parts, offset):
    for start, end, name in parts:
        if start <= offset < end:
            return " (%s)" % name
    return ""


def main():
    first_name, second_name = sys.argv[1:3]
    first, second = (open(name, "rb").read() for name in (first_name, second_name))
    if first == second:
        return 0
    print("%s and %s differ: %d and %d bytes" % (first_name, second_name, len(first), len(second)))
    parts = regions(first)
    limit = int(sys.argv[3]) if len(sys.argv) > 3 else 12 if parts else 3
    shown, offset, common = 0, 0, min(len(first), len(second))
    differing = sum(a != b for a, b in zip(first, second)) + abs(len(first) - len(second))
    while offset < common and shown < limit:
        if first[offset] == second[offset]:
            offset += 1
            continue
        end = offset
        while end < common and end - offset < 16 and first[end] != second[end]:
            end += 1
        print("  0x%08x%s: %s | %s" % (offset, where(parts, offset), first[offset:end].hex(" "),
                                       second[offset:end].hex(" ")))
        shown += 1
        offset = end
    print("  %d byte(s) differ in all" % differing)
    return 1


if __name__ == "__main__":
    sys.exit(main())
