#!/usr/bin/env python3
"""Checks arn_win's screenshot: a valid BMP of the window's client size that shows the panel's
colours where arn_win says its controls lie.

    check_screenshot.py PICTURE.bmp REGIONS.txt

REGIONS.txt is arn_win's standard output: "window W H", then "NAME LEFT TOP WIDTH HEIGHT".
"""
import struct
import sys

FACE = (0xF0, 0xF0, 0xF0)          # the button face behind the controls
YELLOW = (0xFF, 0xFF, 0x00)        # the message line, &H00FFFF
HARDWARE_OFF = (0x00, 0x00, 0x00)  # an LED of the inputs in control, off


def read_bmp(path):
    data = open(path, "rb").read()
    assert data[:2] == b"BM", "not a BMP file"
    size, offset = struct.unpack_from("<I", data, 2)[0], struct.unpack_from("<I", data, 10)[0]
    assert size == len(data), f"the header says {size} bytes, the file has {len(data)}"
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    assert planes == 1 and bits in (24, 32) and compression == 0, "not a plain 24/32-bit BMP"
    step = bits // 8
    stride = (width * step + 3) & ~3
    assert offset + stride * abs(height) <= len(data), "the pixels are cut short"

    def pixel(x, y):
        row = y if height < 0 else abs(height) - 1 - y
        at = offset + row * stride + x * step
        return data[at + 2], data[at + 1], data[at]
    return width, abs(height), pixel


def share(pixel, box, colour):
    left, top, width, height = box
    hits = sum(pixel(x, y) == colour for y in range(top, top + height)
               for x in range(left, left + width))
    return hits / max(1, width * height)


def main(picture, regions_file):
    width, height, pixel = read_bmp(picture)
    regions = {}
    for line in open(regions_file):
        words = line.split()
        if words and words[0] == "window":
            assert (width, height) == (int(words[1]), int(words[2])), \
                f"picture {width}x{height}, window {words[1]}x{words[2]}"
            regions["window"] = (0, 0, width, height)
        elif len(words) == 5:
            regions[words[0]] = tuple(int(w) for w in words[1:])
    checks = [("window", FACE, 0.5), ("EnclosingFrame", FACE, 0.5),
              ("DisplayMsgLbl", YELLOW, 0.5), ("fldStatusLED(0)", HARDWARE_OFF, 0.2)]
    failed = False
    for name, colour, least in checks:
        if name not in regions:
            print(f"no region for {name}")
            failed = True
            continue
        got = share(pixel, regions[name], colour)
        ok = got >= least
        failed = failed or not ok
        print(f"{name}: {got:.2f} of its pixels are #{bytes(colour).hex()} "
              f"({'at least' if ok else 'FEWER than'} {least})")
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
