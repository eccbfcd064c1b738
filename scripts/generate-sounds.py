#!/usr/bin/env python3
"""Synthesises the program's sounds into data/sounds/ (mono, 22 050 Hz, 16-bit PCM).

bkgnd.wav     quiet cockpit background: air-conditioning hiss over a low engine hum (loops)
switch.wav    a short switch click
OK.wav        a two-note chime when the simulator link comes up
alert.wav     a two-beep alert tone when the link fails or is lost
altalert.wav  the altitude-alert tone
fuel.wav      a refuelling pump (loops)

The loops join without a click: every tone completes a whole number of periods over the loop,
and the noise is filtered around the loop (the filter runs through it twice and keeps the second
pass), so the last sample leads into the first as any other pair does. Run it again after a
change; the output is the same on every run (fixed random seed).
"""
import math
import os
import random
import struct
import wave

RATE = 22050
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sounds")


def write(name, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    assert peak <= 1.0, f"{name} clips ({peak:.2f})"
    frames = b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples)
    with wave.open(os.path.join(OUT, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def periodic_noise(rng, n, cutoff_hz, passes=2):
    """White noise low-passed by a one-pole filter run around the loop, so it repeats seamlessly."""
    white = [rng.uniform(-1.0, 1.0) for _ in range(n)]
    a = math.exp(-2.0 * math.pi * cutoff_hz / RATE)
    y = 0.0
    out = [0.0] * n
    for p in range(passes):
        for i in range(n):
            y = a * y + (1.0 - a) * white[i]
            out[i] = y
    rms = math.sqrt(sum(v * v for v in out) / n)
    return [v / rms for v in out]


def high_pass_periodic(x, cutoff_hz):
    a = math.exp(-2.0 * math.pi * cutoff_hz / RATE)
    n = len(x)
    lp = 0.0
    out = [0.0] * n
    for _ in range(2):
        for i in range(n):
            lp = a * lp + (1.0 - a) * x[i]
            out[i] = x[i] - lp
    return out


def envelope(t, attack, length):
    """Rises over attack seconds, falls to zero at length with a short cosine tail."""
    if t < attack:
        return t / attack
    tail = 0.01
    if t > length - tail:
        return max(0.0, 0.5 * (1 + math.cos(math.pi * (t - (length - tail)) / tail)))
    return 1.0


def background(rng):
    seconds = 4.0  # every frequency below is a multiple of 1/4 Hz
    n = int(RATE * seconds)
    hiss = high_pass_periodic(periodic_noise(rng, n, 3000.0), 300.0)
    rumble = periodic_noise(rng, n, 120.0)
    out = []
    for i in range(n):
        t = i / RATE
        hum = (0.55 * math.sin(2 * math.pi * 62.5 * t) + 0.30 * math.sin(2 * math.pi * 125.0 * t + 1.0)
               + 0.15 * math.sin(2 * math.pi * 187.5 * t + 2.0))
        hum *= 1.0 + 0.08 * math.sin(2 * math.pi * 0.5 * t)  # the engines' slow beat
        whine = 0.04 * math.sin(2 * math.pi * 2412.5 * t)
        out.append(0.035 * hiss[i] + 0.045 * rumble[i] + 0.05 * hum + 0.02 * whine)
    return out


def switch_click(rng):
    n = int(RATE * 0.03)
    out = []
    for i in range(n):
        t = i / RATE
        decay = math.exp(-t / 0.003)
        body = math.exp(-t / 0.008) * math.sin(2 * math.pi * 1800.0 * t)
        out.append(envelope(t, 0.0005, n / RATE) * (0.45 * decay * rng.uniform(-1, 1) + 0.35 * body))
    return out


def bell(t, freq, start, decay):
    if t < start:
        return 0.0
    u = t - start
    rise = min(1.0, u / 0.004)
    return rise * math.exp(-u / decay) * (math.sin(2 * math.pi * freq * u) + 0.35 * math.sin(2 * math.pi * 2.0 * freq * u)
                                          + 0.12 * math.sin(2 * math.pi * 3.0 * freq * u))


def ok_chime():
    length = 0.4
    n = int(RATE * length)
    return [envelope(i / RATE, 0.001, length) * 0.3 * (bell(i / RATE, 880.0, 0.0, 0.12) + bell(i / RATE, 1318.5, 0.14, 0.14))
            for i in range(n)]


def alert_tone():
    length = 0.4
    n = int(RATE * length)
    out = []
    for i in range(n):
        t = i / RATE
        beep = 0 if t < 0.17 else 1
        u = t - 0.2 * beep
        on = 0.0 <= u < 0.17
        freq = 740.0 if beep == 0 else 587.0
        # A soft square wave: the odd harmonics, each gently faded in and out.
        gate = math.sin(math.pi * u / 0.17) ** 0.25 if on else 0.0
        tone = sum(math.sin(2 * math.pi * k * freq * t) / k for k in (1, 3, 5, 7))
        out.append(0.38 * gate * tone * envelope(t, 0.001, length))
    return out


def altitude_alert():
    length = 1.0
    n = int(RATE * length)
    chord = (523.25, 659.25, 783.99)  # a C major chord, the classic altitude chime
    out = []
    for i in range(n):
        t = i / RATE
        s = sum(bell(t, f, 0.0, 0.45) for f in chord) / 3.0
        tremolo = 1.0 + 0.15 * math.sin(2 * math.pi * 6.0 * t)
        out.append(0.55 * s * tremolo * envelope(t, 0.001, length))
    return out


def fuel_pump(rng):
    seconds = 2.0  # every frequency below is a multiple of 1/2 Hz
    n = int(RATE * seconds)
    flow = high_pass_periodic(periodic_noise(rng, n, 1500.0), 200.0)
    out = []
    for i in range(n):
        t = i / RATE
        motor = (0.6 * math.sin(2 * math.pi * 100.0 * t) + 0.3 * math.sin(2 * math.pi * 200.0 * t + 0.5)
                 + 0.2 * math.sin(2 * math.pi * 300.0 * t + 1.3) + 0.1 * math.sin(2 * math.pi * 800.0 * t))
        pulse = 0.75 + 0.25 * math.sin(2 * math.pi * 12.5 * t)  # the pump's strokes
        out.append(0.14 * motor * pulse + 0.06 * flow[i] * (0.8 + 0.2 * math.sin(2 * math.pi * 1.5 * t)))
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(145)
    write("bkgnd.wav", background(rng))
    write("switch.wav", switch_click(rng))
    write("OK.wav", ok_chime())
    write("alert.wav", alert_tone())
    write("altalert.wav", altitude_alert())
    write("fuel.wav", fuel_pump(rng))


if __name__ == "__main__":
    main()
