#!/usr/bin/env python3
"""Writes the ERJ-145LR performance tables shipped in data/fuel and data/speeds.

The figures are a smooth model fitted to the published numbers of the type (see
data/README.md): climb fuel and time grow with weight and altitude, cruise fuel flow falls
and true air speed rises with altitude, and the take-off and landing speeds grow with the
square root of the weight. Run it again after changing the model; the output is committed.
"""
import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BANDS = range(10, 38)          # thousands of feet
COLUMNS = range(40, 49)        # thousands of pounds


def comma(value):
    """Decimal numbers are written with a comma as the decimal mark."""
    return f"{value:.1f}".replace(".", ",")


def climb_minutes(band, weight):
    base = 4.5 + (band - 10) * 0.42 + max(0, band - 25) ** 2 * 0.035
    return base * (1 + (weight - 40) * 0.045)


def climb_fuel(band, weight):
    return round(climb_minutes(band, weight) * (64 - 0.4 * (band - 10)) + 60)


def cruise_fuel_flow(band):
    return round(3400 - (band - 10) * 46.3)


def cruise_tas(band):
    if band <= 20:
        return 300 + (band - 10) * 8
    if band <= 25:
        return 380 + (band - 20) * 5
    if band <= 30:
        return 405 + (band - 25) * 4
    return round(425 + (band - 30) * 5 / 7)


def descent_minutes(band):
    return 2.0 + 0.55 * band


def fuel_file():
    out = ["Vantrel Suite - ERJ-145LR fuel planning tables (see data/README.md)", ""]
    out += ["**FC fuel to climb, lb, by band (1000 ft) and weight (1000 lb)",
            "FL;" + ";".join(str(c) for c in COLUMNS)]
    out += [f"{b};" + ";".join(str(climb_fuel(b, w)) for w in COLUMNS) for b in BANDS]
    out += ["", "**CT time to climb, min, by band (1000 ft) and weight (1000 lb)",
            "FL;" + ";".join(str(c) for c in COLUMNS)]
    out += [f"{b};" + ";".join(comma(climb_minutes(b, w)) for w in COLUMNS) for b in BANDS]
    out += ["", "**FF cruise fuel flow, lb/h", "FL;lb/h"]
    out += [f"{b};{cruise_fuel_flow(b)}" for b in BANDS]
    out += ["", "**CS cruise true air speed, kt", "FL;kt"]
    out += [f"{b};{cruise_tas(b)}" for b in BANDS]
    out += ["", "**DT time to descend, min", "FL;min"]
    out += [f"{b};{comma(descent_minutes(b))}" for b in BANDS]
    return "\r\n".join(out) + "\r\n"


def takeoff_weights():
    # Row 0 is every weight above 48 000 lb (planned as 48 500), then 48 000 down to 30 000.
    return [48500] + list(range(48000, 29000, -1000))


def landing_weights():
    return list(range(48000, 27000, -1000))


def vr(weight):
    return round(141 * math.sqrt(weight / 48500))


def takeoff_file():
    weights = takeoff_weights()
    blocks = []
    # Tables B and C serve hotter or higher airfields: a field-length limited V1 a little lower,
    # V2 a little higher; V1 never exceeds VR.
    for table, v1_less, v2_more in (("A", 3, 6), ("B", 5, 7), ("C", 7, 8)):
        blocks.append((f"//{table}V1", [vr(w) - v1_less for w in weights]))
        blocks.append((f"//{table}VR", [vr(w) for w in weights]))
        blocks.append((f"//{table}V2", [vr(w) + v2_more for w in weights]))
    blocks.append(("//TGT", [vr(w) + 16 for w in weights]))
    blocks.append(("//VFS", [vr(w) + 28 for w in weights]))
    return blocks


def landing_file(flaps):
    weights = landing_weights()
    extra = 0 if flaps == 45 else 9
    vref = [round(130 * math.sqrt(w / 42500)) + extra for w in weights]
    return [("//VREF", vref),
            ("//VGA9", [v + 8 - extra for v in vref]),
            ("//VFS", [v + 32 - extra for v in vref]),
            ("//TGT", [v + 5 for v in vref])]


def speed_file(title, blocks):
    out = [f"Vantrel Suite - ERJ-145LR {title} (see data/README.md)"]
    for marker, values in blocks:
        out.append(marker)
        out += [str(v) for v in values]
    return "\r\n".join(out) + "\r\n"


def write(path, text):
    with open(os.path.join(ROOT, path), "w", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    write("data/fuel/fuelplan.csv", fuel_file())
    write("data/speeds/speeds9.txt", speed_file("take-off speeds, flaps 9", takeoff_file()))
    write("data/speeds/speeds22.txt", speed_file("landing speeds, flaps 22", landing_file(22)))
    write("data/speeds/speeds45.txt", speed_file("landing speeds, flaps 45", landing_file(45)))
