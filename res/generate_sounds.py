#!/usr/bin/env python3
"""Sound generator for Dusk.

Synthesises the program's sounds from sine partials and writes:

    clock/1.wav   alarm ring, 2.4 s, played in a loop
    x.wav         short soft "acknowledged" sound, 0.25 s
    warn.wav      the warning before a power action, 0.6 s

All are PCM 16-bit mono at 22050 Hz.  Only the Python 3 standard library
is used (math, struct, wave) and nothing is random, so the output is
byte-for-byte reproducible.  Run from anywhere:

    python3 res/generate_sounds.py             # writes next to this script
"""

import math
import os
import struct
import sys
import wave

RATE = 22050


def db_to_amp(db):
    return 10.0 ** (db / 20.0)


def note(buf, start, freq, dur, partials, attack=0.004, gain=1.0):
    """Adds one struck tone to buf (a list of floats) from time start.

    partials: (frequency ratio, relative amplitude, decay time constant in
    seconds) for each sine.  The tone rises over `attack` seconds with a
    raised-cosine ramp, decays exponentially, and is brought to exactly zero
    by a raised-cosine fade over the last 20 % of `dur`.
    """
    n0 = int(round(start * RATE))
    n = int(round(dur * RATE))
    na = max(1, int(round(attack * RATE)))
    nf = max(1, n // 5)
    for k in range(n):
        if n0 + k >= len(buf):
            break
        t = k / float(RATE)
        env = 1.0
        if k < na:
            env = 0.5 - 0.5 * math.cos(math.pi * k / na)
        if k >= n - nf:
            env *= 0.5 + 0.5 * math.cos(math.pi * (k - (n - nf)) / max(1, nf - 1))
        s = 0.0
        for ratio, amp, tau in partials:
            s += amp * math.exp(-t / tau) * math.sin(2.0 * math.pi * freq * ratio * t)
        buf[n0 + k] += gain * env * s


def normalise(buf, peak_db):
    peak = max(abs(v) for v in buf)
    scale = db_to_amp(peak_db) / peak if peak > 0 else 0.0
    return [v * scale for v in buf]


def write_wav(path, buf):
    frames = bytearray()
    for v in buf:
        s = int(round(v * 32767.0))
        s = -32768 if s < -32768 else (32767 if s > 32767 else s)
        frames += struct.pack('<h', s)
    d = os.path.dirname(path)
    if d:
        os.makedirs(d, exist_ok=True)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


# ---------------------------------------------------------------------------
# Alarm ring
#
# Two identical phrases of 1.2 s each, so the loop keeps a steady rhythm.
# A phrase is four quick bell-like strikes, G6 E6 G6 E6 ("ding-dong
# ding-dong"), followed by a rest.  Every strike has died away and been
# faded to zero before the loop point, so the first and last samples are
# silent and the loop is seamless.
# ---------------------------------------------------------------------------

ALARM_LEN = 2.4
PHRASE = 1.2
STEP = 0.13            # time between strikes
STRIKE = 0.42          # length of one strike before it is cut (with fade)
G6, E6 = 1567.98, 1318.51

# sweet bell: strong fundamental, soft octave and twelfth, and a short
# slightly inharmonic shimmer that gives the strike its "ting"
BELL = [
    (1.0, 1.00, 0.160),
    (2.0, 0.28, 0.090),
    (3.0, 0.08, 0.050),
    (4.16, 0.06, 0.020),
]


def make_alarm():
    buf = [0.0] * int(round(ALARM_LEN * RATE))
    for p in range(int(round(ALARM_LEN / PHRASE))):
        for i, f in enumerate((G6, E6, G6, E6)):
            note(buf, p * PHRASE + i * STEP, f, STRIKE, BELL, attack=0.003)
    return normalise(buf, -3.0)


# ---------------------------------------------------------------------------
# Acknowledged: two soft rising notes (C6 then G6), mostly pure sine
# ---------------------------------------------------------------------------

C6 = 1046.50
SOFT = [
    (1.0, 1.00, 0.090),
    (2.0, 0.10, 0.040),
]


def make_ack():
    buf = [0.0] * int(round(0.25 * RATE))
    note(buf, 0.000, C6, 0.110, SOFT, attack=0.008, gain=0.8)
    note(buf, 0.065, G6, 0.185, SOFT, attack=0.008, gain=1.0)
    return normalise(buf, -9.0)


# ---------------------------------------------------------------------------
# Warning before a shut-down: three falling notes (G6 E6 C6), firmer than the
# acknowledgement and shorter than the alarm, so it is told from both
# ---------------------------------------------------------------------------

def make_warning():
    buf = [0.0] * int(round(0.6 * RATE))
    for i, f in enumerate((G6, E6, C6)):
        note(buf, i * 0.16, f, 0.28, BELL, attack=0.004, gain=1.0 - 0.15 * i)
    return normalise(buf, -6.0)


# ---------------------------------------------------------------------------


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    write_wav(os.path.join(here, 'clock', '1.wav'), make_alarm())
    write_wav(os.path.join(here, 'x.wav'), make_ack())
    write_wav(os.path.join(here, 'warn.wav'), make_warning())
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
