#!/usr/bin/env python3
"""Checks of the fonts in a PDF, read through qpdf's JSON and fontTools.

  pdf_fonts_check.py widths FILE.pdf   each CIDFont's /W entries are the
                                       embedded font's own advances (hmtx
                                       over unitsPerEm, in thousandths)
  pdf_fonts_check.py names FILE.pdf    no font name stands for two different
                                       embedded font programs

Prints what is wrong and exits 1; exits 0 when all is right.
"""

import hashlib
import io
import json
import os
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTFont

TOLERANCE = 1e-6  # thousandths of an em: the widths are written with 9 decimals


def objects(pdf, folder):
    """The file's objects by reference ("12 0 R"), stream data in folder."""
    out = os.path.join(folder, "objects.json")
    subprocess.run(["qpdf", "--json=2", "--json-key=qpdf", "--decode-level=generalized",
                    "--json-stream-data=file", "--json-stream-prefix=" + os.path.join(folder, "s"),
                    pdf, out], check=True)
    with open(out, encoding="utf-8") as f:
        found = json.load(f)["qpdf"][1]
    return {key[4:]: value for key, value in found.items() if key.startswith("obj:")}


def dictionary(obj):
    return obj["stream"]["dict"] if "stream" in obj else obj.get("value", {})


def stream_data(obj):
    with open(obj["stream"]["datafile"], "rb") as f:
        return f.read()


def cid_fonts(objs):
    """(name, W array, font file bytes) of each CIDFont."""
    for obj in objs.values():
        d = dictionary(obj)
        if not isinstance(d, dict) or d.get("/Type") != "/Font":
            continue
        if d.get("/Subtype") not in ("/CIDFontType2", "/CIDFontType0"):
            continue
        descriptor = dictionary(objs[d["/FontDescriptor"]])
        file_ref = descriptor.get("/FontFile2") or descriptor.get("/FontFile3")
        data = stream_data(objs[file_ref]) if file_ref else b""
        yield d["/BaseFont"], d.get("/W", []), data


def widths(objs):
    faults = 0
    checked = 0
    for name, w, data in cid_fonts(objs):
        font = TTFont(io.BytesIO(data))
        em = font["head"].unitsPerEm
        order = font.getGlyphOrder()
        hmtx = font["hmtx"]
        i = 0
        while i < len(w):
            first = w[i]
            if isinstance(w[i + 1], list):
                entries = [(first + k, v) for k, v in enumerate(w[i + 1])]
                i += 2
            else:
                entries = [(g, w[i + 2]) for g in range(first, w[i + 1] + 1)]
                i += 3
            for glyph, value in entries:
                own = hmtx[order[glyph]][0] * 1000 / em
                checked += 1
                if abs(value - own) > TOLERANCE:
                    faults += 1
                    if faults <= 10:
                        print(f"{name}: glyph {glyph} has width {value}, the font's is {own}")
    if checked == 0:
        print("no widths to check")
        return 1
    if faults:
        print(f"{faults} of {checked} widths differ from the fonts' own")
    return 1 if faults else 0


def names(objs):
    programs = {}
    for name, _, data in cid_fonts(objs):
        programs.setdefault(name, set()).add(hashlib.sha1(data).hexdigest())
    twice = sorted(name for name, digests in programs.items() if len(digests) > 1)
    for name in twice:
        print(f"{name} names {len(programs[name])} different font programs")
    return 1 if twice or not programs else 0


def main():
    check, pdf = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        objs = objects(pdf, folder)
        return {"widths": widths, "names": names}[check](objs)


if __name__ == "__main__":
    sys.exit(main())
