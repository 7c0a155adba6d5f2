#!/usr/bin/env python3
"""Writes the program's two sound cues as RIFF WAVE files.

cue11_click.wav  cue 11, the click: PCM mono, 11,025 Hz, 8-bit, 3,120 bytes of samples
cue12_chime.wav  cue 12, the chime: PCM stereo, 22,050 Hz, 16-bit, 66,152 bytes of samples

The sounds are synthesised, so the output is the same on every run:
    python3 make_cues.py [OUTPUT_FOLDER]    (default: the folder of this script)
"""

import math
import os
import struct
import sys


def chunk(tag, payload):
    if len(payload) % 2:
        payload += b"\0"
    return tag + struct.pack("<I", len(payload)) + payload


def wave_file(channels, rate, bits, samples, extra_chunks):
    block_align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block_align, block_align, bits)
    body = b"WAVE" + chunk(b"fmt ", fmt) + b"".join(extra_chunks) + chunk(b"data", samples)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def info_list(title, software):
    def text(tag, value, width):
        raw = value.encode("ascii")[: width - 1]
        return chunk(tag, raw.ljust(width, b"\0"))

    return chunk(b"LIST", b"INFO" + text(b"INAM", title, 16) + text(b"ISFT", software, 16))


def noise(seed):
    """A small linear congruential generator, so the click's grit never changes."""
    state = seed
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state / 0x3FFFFFFF - 1.0


def click():
    rate, count = 11025, 3120
    grit = noise(11)
    out = bytearray()
    for i in range(count):
        t = i / rate
        body = 0.55 * math.sin(2 * math.pi * 1750 * t) + 0.25 * math.sin(2 * math.pi * 3100 * t)
        value = body * math.exp(-t / 0.006)
        value += 0.35 * next(grit) * math.exp(-t / 0.0015)
        # A faint knock a little later makes the press sound mechanical.
        if t >= 0.018:
            late = t - 0.018
            value += 0.18 * math.sin(2 * math.pi * 900 * late) * math.exp(-late / 0.010)
        sample = max(-1.0, min(1.0, value))
        out.append(max(0, min(255, 128 + round(sample * 120))))
    return wave_file(1, rate, 8, bytes(out), [chunk(b"fact", struct.pack("<I", count))])


def bell(t, frequency):
    """A soft bell: a fundamental with a bright, quickly fading inharmonic partial."""
    if t < 0:
        return 0.0
    attack = min(1.0, t / 0.004)
    tone = math.sin(2 * math.pi * frequency * t) * math.exp(-t / 0.30)
    tone += 0.35 * math.sin(2 * math.pi * frequency * 2.0 * t) * math.exp(-t / 0.16)
    tone += 0.12 * math.sin(2 * math.pi * frequency * 2.76 * t) * math.exp(-t / 0.06)
    return attack * tone


def chime():
    rate, frames = 22050, 66152 // 4
    fade_start = frames - int(0.08 * rate)
    out = bytearray()
    for i in range(frames):
        t = i / rate
        low = bell(t, 1046.50)  # C6
        high = bell(t - 0.14, 1567.98)  # G6, a fifth above
        fade = 1.0 if i < fade_start else (frames - 1 - i) / (frames - 1 - fade_start)
        left = (0.62 * low + 0.38 * high) * 0.42 * fade
        right = (0.38 * low + 0.62 * high) * 0.42 * fade
        for value in (left, right):
            out += struct.pack("<h", max(-32767, min(32767, round(value * 32767))))
    return wave_file(2, rate, 16, bytes(out), [info_list("Faultward chime", "make_cues.py")])


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for name, data in (("cue11_click.wav", click()), ("cue12_chime.wav", chime())):
        with open(os.path.join(folder, name), "wb") as handle:
            handle.write(data)


if __name__ == "__main__":
    main()
