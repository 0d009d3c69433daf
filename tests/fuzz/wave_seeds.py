"""Writes a few WAV files into the folder given, for the fuzzer to start from."""
import struct
import sys
from pathlib import Path


PCM_GUID = bytes([1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])


def chunk(tag, body):
    return tag + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def extensible(valid_bits, sub_format=PCM_GUID):
    return struct.pack("<HHI", 22, valid_bits, 3) + sub_format


def wav(channels, rate, bits, samples, fmt_extra=b"", chunk=b"", declared=None, align=None,
        tag=1, before_fmt=b""):
    block = channels * bits // 8 if align is None else align
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits) + fmt_extra
    body = b"WAVE" + before_fmt + b"fmt " + struct.pack("<I", len(fmt)) + fmt + chunk
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
    "list_info": wav(2, 22050, 16, bytes(range(256)) * 8,
                     chunk=chunk(b"LIST", b"INFOISFT" + struct.pack("<I", 5) + b"Lavf\0\0")),
    "fmt18_cbsize0": wav(2, 44100, 16, bytes(range(256)) * 4, fmt_extra=b"\0\0"),
    "fact": wav(1, 22050, 16, bytes(400), chunk=chunk(b"fact", struct.pack("<I", 200))),
    "junk_first": wav(1, 8000, 8, bytes(50), before_fmt=chunk(b"JUNK", bytes(27))),
    "odd_chunk": wav(1, 8000, 8, bytes(60), chunk=chunk(b"cue ", b"abc")),
    "extensible24": wav(2, 48000, 24, bytes(range(240)) * 6, tag=0xFFFE,
                        fmt_extra=extensible(24), chunk=chunk(b"fact", struct.pack("<I", 240))),
    "extensible_float": wav(2, 48000, 32, bytes(64), tag=0xFFFE,
                            fmt_extra=extensible(32, b"\3" + PCM_GUID[1:])),
    "truncated_data": wav(2, 22050, 16, bytes(range(256)) * 4, declared=100000)[:700],
    "align0": wav(1, 8000, 16, bytes(100), align=0),
    "short": wav(1, 8000, 8, bytes(100), declared=5000),
    "after_data": wav(1, 8000, 8, b"")[:40],
}
for name, data in seeds.items():
    (out / name).write_bytes(data)
