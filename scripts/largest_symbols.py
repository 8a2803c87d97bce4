#!/usr/bin/env python3
"""Prints the largest symbols of a program, each with the file it came from.

Usage: scripts/largest_symbols.py MAP PROGRAM [COUNT] [NM]

PROGRAM is the link's output before it is stripped and MAP the linker's map of
that link (-Wl,-Map): nm gives each symbol's size (the distance to the next
symbol, static functions included), the map the object it came from. Never
fails the build: what it cannot read is said and skipped.
"""
import bisect
import re
import subprocess
import sys

LOADED = ('.text', '.rdata', '.data', '.pdata', '.xdata', '.bss', '.tls', '.CRT')
INPUT = re.compile(r'^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')


def Origin(path):
    """libstdc++.a(string-inst.o) or main_win.cpp.obj, without folders."""
    return path.rsplit('/', 1)[-1] if '(' not in path else path.split('(')[0].rsplit(
        '/', 1)[-1] + '(' + path.split('(', 1)[1]


def Sections(lines):
    """Each loaded input section of the map: (start, size, origin)."""
    output = None
    for line in lines:
        if line and not line[0].isspace():
            output = line.split()[0]
            continue
        match = INPUT.match(line.rstrip('\n'))
        if output in LOADED and match and not match.group(4).startswith('0x'):
            yield int(match.group(2), 16), int(match.group(3), 16), Origin(match.group(4))


def Origins(lines):
    """The loaded input sections as (start, end, origin), by start."""
    return sorted((start, start + size, origin) for start, size, origin in Sections(lines) if size)


def OriginOf(origins, starts, address):
    i = bisect.bisect_right(starts, address) - 1
    if i >= 0 and address < origins[i][1]:
        return origins[i][2]
    return '?'


def Symbols(program, nm):
    """(size, address, name) of each symbol in code or data, demangled."""
    listing = subprocess.run([nm, '-S', '--size-sort', '-C', '--defined-only', program],
                             capture_output=True, text=True, timeout=60, check=True).stdout
    for line in listing.splitlines():
        fields = line.split(None, 3)
        if len(fields) < 4 or fields[2] in 'NnUuAa' or fields[3].startswith('.'):
            continue
        yield int(fields[1], 16), int(fields[0], 16), fields[3]


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 0
    count = int(argv[3]) if len(argv) > 3 else 20
    nm = argv[4] if len(argv) > 4 else 'nm'
    with open(argv[1], errors='replace') as stream:
        origins = Origins(stream)
    starts = [start for start, _, _ in origins]
    largest = sorted(Symbols(argv[2], nm), reverse=True)[:count]
    print(f'The {len(largest)} largest symbols of {argv[2]} (bytes, origin, symbol):')
    for size, address, name in largest:
        if len(name) > 110:
            name = name[:107] + '...'
        print(f'{size:8d}  {OriginOf(origins, starts, address):34.34s}  {name}')
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv))
    except Exception as error:  # a table for the log, never a failed build
        print(f'largest symbols: skipped ({error})')
        sys.exit(0)
