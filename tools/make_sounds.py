#!/usr/bin/env python3
"""Synthesises the four event sounds that a fresh Windows (or Wine) profile may
lack, as small WAV files of our own: res/sounds/ding.wav, chimes.wav, tada.wav
and notify.wav (22050 Hz, 16-bit mono, the plain 44-byte header).

    tools/make_sounds.py            write the files
    tools/make_sounds.py --check    fail if the committed files differ from a
                                    fresh synthesis
    tools/make_sounds.py --out DIR  write into DIR instead

Each sound is a sum of decaying sine partials (bell-like for the ding and the
chimes, brassier for the fanfare), with a few milliseconds of rounded attack
and a rounded fade at the end, so that nothing clicks. The output depends on
nothing but this file: the same script gives the same bytes.
"""

import argparse
import math
import struct
import sys
from pathlib import Path

RATE = 22050
PEAK = 0.55  # of full scale: clearly heard, never harsh


def note(freq, start, length, partials, decay, attack=0.006, release=0.03):
    """One struck note: (start, samples) with partials as (ratio, level)."""
    n = int(length * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        left = length - t
        env = math.exp(-t * decay)
        if t < attack:
            env *= 0.5 - 0.5 * math.cos(math.pi * t / attack)
        if left < release:
            env *= 0.5 - 0.5 * math.cos(math.pi * left / release)
        value = 0.0
        for ratio, level in partials:
            # Higher partials die sooner, as on a real bell or string.
            value += level * math.exp(-t * decay * (ratio - 1) * 0.6) * math.sin(
                2 * math.pi * freq * ratio * t)
        out.append(env * value)
    return int(start * RATE), out


def mix(length, notes):
    total = [0.0] * int(length * RATE)
    for start, samples in notes:
        for i, v in enumerate(samples):
            if start + i < len(total):
                total[start + i] += v
    # A rounded fade over the last 40 ms so the end is exactly silent.
    fade = int(0.04 * RATE)
    for i in range(fade):
        total[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade)
    peak = max(abs(v) for v in total) or 1.0
    return [v * PEAK / peak for v in total]


BELL = [(1.0, 1.0), (2.0, 0.45), (3.0, 0.22), (4.2, 0.12)]
BRASS = [(1.0, 1.0), (2.0, 0.6), (3.0, 0.4), (4.0, 0.25), (5.0, 0.12)]
SOFT = [(1.0, 1.0), (2.0, 0.18)]

SOUNDS = {
    # One bright bell stroke.
    "ding.wav": lambda: mix(0.8, [note(1318.5, 0.0, 0.8, BELL, 5.0)]),
    # Three bells falling: E6, C6, G5.
    "chimes.wav": lambda: mix(1.0, [
        note(1318.5, 0.00, 1.0, BELL, 4.5),
        note(1046.5, 0.20, 0.8, BELL, 4.5),
        note(784.0, 0.40, 0.6, BELL, 4.0),
    ]),
    # A short fanfare: C5 E5 G5, then a held C major chord.
    "tada.wav": lambda: mix(1.0, [
        note(523.3, 0.00, 0.16, BRASS, 6.0, attack=0.012),
        note(659.3, 0.12, 0.16, BRASS, 6.0, attack=0.012),
        note(784.0, 0.24, 0.16, BRASS, 6.0, attack=0.012),
        note(523.3, 0.38, 0.62, BRASS, 3.0, attack=0.015),
        note(659.3, 0.38, 0.62, BRASS, 3.0, attack=0.015),
        note(1046.5, 0.38, 0.62, BRASS, 3.0, attack=0.015),
    ]),
    # Two soft rising tones: G5, C6.
    "notify.wav": lambda: mix(0.45, [
        note(784.0, 0.00, 0.2, SOFT, 9.0, attack=0.01),
        note(1046.5, 0.14, 0.31, SOFT, 8.0, attack=0.01),
    ]),
}


def wav_bytes(samples):
    data = b"".join(
        struct.pack("<h", max(-32767, min(32767, int(round(v * 32767))))) for v in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    return header + data


def main():
    root = Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed files instead of writing")
    parser.add_argument("--out", type=Path, default=root / "res" / "sounds")
    args = parser.parse_args()

    stale = []
    for name, make in SOUNDS.items():
        data = wav_bytes(make())
        path = args.out / name
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
            continue
        args.out.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print(f"{path}: {len(data)} bytes")
    if stale:
        print("out of date: " + ", ".join(stale) + " (run tools/make_sounds.py)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
