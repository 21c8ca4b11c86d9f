#!/usr/bin/env python3
"""Writes the seed corpus of the music fuzz target: small WAV files of our own, good and bad."""
import math
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "music")


def chunk(tag, body):
    pad = b"\0" if len(body) % 2 else b""
    return tag + struct.pack("<I", len(body)) + body + pad


def fmt(tag, channels, rate, bits):
    align = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits))


def riff(*chunks, size=None):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body) if size is None else size) + body


def tone(n, scale, offset, fmtchar):
    return b"".join(struct.pack(fmtchar, int(offset + scale * math.sin(i / 5))) for i in range(n))


pcm8 = tone(400, 100, 128, "<B")
pcm16 = tone(1000, 12000, 0, "<h")  # 500 stereo frames
files = {
    "pcm8_mono.wav": riff(fmt(1, 1, 8000, 8), chunk(b"data", pcm8)),
    "pcm16_stereo.wav": riff(fmt(1, 2, 22050, 16), chunk(b"data", pcm16)),
    "float32_mono.wav": riff(fmt(3, 1, 11025, 32),
                             chunk(b"data", b"".join(struct.pack("<f", math.sin(i / 7)) for i in range(300)))),
    "with_info_list.wav": riff(fmt(1, 1, 8000, 8),
                               chunk(b"LIST", b"INFO" + chunk(b"INAM", b"Sinkaway test\0") + chunk(b"IART", b"us\0")),
                               chunk(b"data", pcm8[:100])),
    # The header promises 2000 bytes of samples; 100 are there.
    "truncated.wav": (riff(fmt(1, 2, 22050, 16), chunk(b"data", pcm16)))[:44 + 100],
    # Sizes in the header that claim about 4 GB.
    "huge_data_size.wav": riff(fmt(1, 2, 44100, 16), b"data" + struct.pack("<I", 0xFFFFFFF0) + pcm16[:64],
                               size=0xFFFFFFFF),
    "zero_channels.wav": riff(fmt(1, 0, 44100, 16), chunk(b"data", pcm16[:64])),
    "no_data_chunk.wav": riff(fmt(1, 1, 8000, 8)),
}
os.makedirs(out, exist_ok=True)
for name, data in files.items():
    assert len(data) < 16384, name
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
