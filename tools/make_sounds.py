#!/usr/bin/python3
"""Writes the clock's two sounds into data/: "smallworld.wav", a three-second
loop that joins end to start without a click, and "ding.wav", the short bell
that closes the music.

Usage: /usr/bin/python3 tools/make_sounds.py [OUTPUT_DIR]   (default: data/)
The output is the same on every run.
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
LOOP_SECONDS = 3.0
# A pentatonic walk in C, four notes a beat at 80 beats a minute; its last note
# leads back to the first.
MELODY_HZ = [523.25, 659.26, 783.99, 880.00, 783.99, 659.26,
             587.33, 659.26, 783.99, 659.26, 587.33, 392.00]
# 110 Hz makes a whole number of cycles in the loop, so the drone joins seamlessly.
DRONE_HZ = 110.0


def clip16(x):
    return max(-32767, min(32767, int(round(x * 32767))))


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", clip16(s)) for s in samples))


def small_world():
    n = int(RATE * LOOP_SECONDS)
    note_len = n // len(MELODY_HZ)
    out = []
    for i in range(n):
        t = i / RATE
        k, j = divmod(i, note_len)
        k = min(k, len(MELODY_HZ) - 1)
        f = MELODY_HZ[k]
        # Each note swells and fades inside its own slot, so note edges are silent
        # for the melody while the drone carries on underneath.
        x = j / note_len
        env = math.sin(math.pi * x) ** 2
        tone = env * (0.55 * math.sin(2 * math.pi * f * t) + 0.15 * math.sin(4 * math.pi * f * t))
        drone = 0.18 * math.sin(2 * math.pi * DRONE_HZ * t)
        out.append(0.6 * tone + drone)
    return out


def ding():
    n = int(RATE * 0.7)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, i / (RATE * 0.005))
        decay = math.exp(-t * 7.0)
        tail = min(1.0, (n - i) / (RATE * 0.02))  # ends at exactly zero
        s = 0.7 * math.sin(2 * math.pi * 1568.0 * t) + 0.3 * math.sin(2 * math.pi * 2352.0 * t)
        out.append(0.8 * attack * decay * tail * s)
    return out


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data")
    os.makedirs(out_dir, exist_ok=True)
    write(os.path.join(out_dir, "smallworld.wav"), small_world())
    write(os.path.join(out_dir, "ding.wav"), ding())


if __name__ == "__main__":
    main()
