"""Writes a few WAV files into the folder given, for the fuzzer to start from."""
import struct
import sys
from pathlib import Path


def wav(channels, rate, bits, samples, fmt_extra=b"", chunk=b"", declared=None, align=None):
    block = channels * bits // 8 if align is None else align
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits) + fmt_extra
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + chunk
    length = len(samples) if declared is None else declared
    body += b"data" + struct.pack("<I", length) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
seeds = {
    "mono8": wav(1, 8000, 8, bytes(range(256)) * 20),
    "stereo16": wav(2, 44100, 16, bytes(range(256)) * 70),
    "partial_block": wav(2, 22050, 16, bytes(4098)),
    "empty": wav(1, 8000, 8, b""),
    "fmt18": wav(1, 8000, 8, bytes(100), fmt_extra=b"\x00\x00"),
    "list": wav(1, 8000, 8, bytes(100), chunk=b"LIST\x04\x00\x00\x00abcd"),
    "align0": wav(1, 8000, 16, bytes(100), align=0),
    "short": wav(1, 8000, 8, bytes(100), declared=5000),
    "after_data": wav(1, 8000, 8, b"")[:40],
}
for name, data in seeds.items():
    (out / name).write_bytes(data)
