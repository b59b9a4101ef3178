#!/usr/bin/env python3
"""Writes the smallest complete login movie: an empty 996 x 646 stage, one frame.

Usage: make_placeholder_movie.py OUTPUT.swf
It stands in for the login movie until the authored one replaces it.
"""
import struct
import sys


def rect(xmin, xmax, ymin, ymax):
    values = (xmin, xmax, ymin, ymax)
    nbits = max(v.bit_length() for v in values) + 1
    bits = format(nbits, "05b") + "".join(format(v, "0%db" % nbits) for v in values)
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))


def tag(code, body=b""):
    return struct.pack("<H", (code << 6) | len(body)) + body


def main():
    body = rect(0, 996 * 20, 0, 646 * 20) + struct.pack("<HH", 24 << 8, 1)
    body += tag(9, bytes((255, 255, 255)))  # SetBackgroundColor
    body += tag(1)  # ShowFrame
    body += tag(0)  # End
    header = b"FWS" + bytes((8,)) + struct.pack("<I", 8 + len(body))
    with open(sys.argv[1], "wb") as f:
        f.write(header + body)


if __name__ == "__main__":
    main()
