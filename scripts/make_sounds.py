#!/usr/bin/env python3
"""Writes the program's own short notification sounds (16-bit mono WAV)."""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def tone(parts, decay):
    samples = []
    for freq, seconds in parts:
        n = int(RATE * seconds)
        for i in range(n):
            t = i / RATE
            env = math.exp(-decay * t) * min(1.0, i / 80)
            samples.append(0.5 * env * (math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)))
    return samples


def write(path, samples):
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32000)) for s in samples))


out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "sounds")
out.mkdir(parents=True, exist_ok=True)
write(out / "ding.wav", tone([(1320, 0.35)], 9))
write(out / "tada.wav", tone([(523, 0.14), (784, 0.5)], 4))
