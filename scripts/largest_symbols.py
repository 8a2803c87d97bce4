#!/usr/bin/env python3
"""Prints the largest symbols of a program from the GNU linker's map (-Wl,-Map).

Usage: scripts/largest_symbols.py MAP [COUNT] [DEMANGLER]

A symbol's size is the distance to the next symbol or to the end of its input
section; a section that names no symbol (a static function in a section of its
own) counts under its section name. Only what is loaded counts: code, data,
constants and unwind tables. Never fails the build: a map it cannot read is said
and skipped.
"""
import collections
import re
import subprocess
import sys

LOADED = ('.text', '.rdata', '.data', '.pdata', '.xdata', '.bss', '.tls', '.CRT')
INPUT = re.compile(r'^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')
SYMBOL = re.compile(r'^\s+0x([0-9a-f]+)\s+(\S+)$')


def Origin(path):
    """libstdc++.a(string-inst.o) or main_win.cpp.obj, without folders."""
    return path.rsplit('/', 1)[-1] if '(' not in path else path.split('(')[0].rsplit(
        '/', 1)[-1] + '(' + path.split('(', 1)[1]


def Sections(lines):
    """Each loaded input section: (name, start, size, origin, [(address, symbol)])."""
    output = None
    pending = None
    current = None
    for line in lines:
        if line and not line[0].isspace():
            output = line.split()[0]
            continue
        if output not in LOADED:
            continue
        stripped = line.rstrip('\n')
        if re.fullmatch(r' \S+', stripped):
            pending = stripped.strip()  # a long name: its numbers follow on the next line
            continue
        match = INPUT.match(stripped)
        if match and not match.group(4).startswith('0x'):
            if current:
                yield current
            name = match.group(1) or pending or output
            pending = None
            current = (name, int(match.group(2), 16), int(match.group(3), 16),
                       Origin(match.group(4)), [])
            continue
        pending = None
        symbol = SYMBOL.match(stripped)
        if symbol and current:
            current[4].append((int(symbol.group(1), 16), symbol.group(2)))
    if current:
        yield current


def Sizes(lines):
    sizes = collections.Counter()
    for name, start, size, origin, symbols in Sections(lines):
        if size == 0:
            continue
        inside = sorted(s for s in symbols if start <= s[0] < start + size)
        if not inside:
            sizes[(name.split('$', 1)[-1], origin)] += size
            continue
        if inside[0][0] > start:  # code before the first named symbol
            sizes[(name.split('$', 1)[-1], origin)] += inside[0][0] - start
        for i, (address, symbol) in enumerate(inside):
            end = inside[i + 1][0] if i + 1 < len(inside) else start + size
            sizes[(symbol, origin)] += end - address
    return sizes


def Demangled(names, demangler):
    try:
        result = subprocess.run([demangler], input='\n'.join(names), capture_output=True,
                                text=True, timeout=30, check=True)
        lines = result.stdout.split('\n')
        return lines if len(lines) >= len(names) else names
    except (OSError, subprocess.SubprocessError):
        return names


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 0
    count = int(argv[2]) if len(argv) > 2 else 20
    demangler = argv[3] if len(argv) > 3 else 'c++filt'
    try:
        with open(argv[1], errors='replace') as stream:
            sizes = Sizes(stream)
    except OSError as error:
        print(f'largest symbols: no map ({error})')
        return 0
    largest = sizes.most_common(count)
    names = Demangled([name for (name, _), _ in largest], demangler)
    print(f'The {len(largest)} largest symbols of {argv[1]} (bytes, origin, symbol):')
    for ((_, origin), size), name in zip(largest, names):
        if len(name) > 110:
            name = name[:107] + '...'
        print(f'{size:8d}  {origin:34.34s}  {name}')
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv))
    except Exception as error:  # a table for the log, never a failed build
        print(f'largest symbols: skipped ({error})')
        sys.exit(0)
