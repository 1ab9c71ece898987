#!/usr/bin/env python3
"""Draws Orvane's icon (a small network of three nodes on a blue tile) into
an .ico with 16x16 and 32x32 32-bit images. Run it when the picture changes;
the .ico it writes is committed."""
import struct
import sys


def draw(size):
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def inside_tile(x, y):
        r = 6 * s
        lo, hi = 1 * s, size - 1 * s
        cx = min(max(x, lo + r), hi - r)
        cy = min(max(y, lo + r), hi - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and lo <= x <= hi and lo <= y <= hi

    nodes = [(10 * s, 10 * s), (22 * s, 12 * s), (15 * s, 23 * s)]

    def near_segment(x, y, a, b, w):
        ax, ay = a
        bx, by = b
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        qx, qy = ax + t * dx, ay + t * dy
        return (x - qx) ** 2 + (y - qy) ** 2 <= w * w

    for row in range(size):
        for col in range(size):
            x, y = col + 0.5, row + 0.5
            if not inside_tile(x, y):
                continue
            shade = int(40 * y / size)
            colour = (0xC0 - shade, 0x60 - shade // 2, 0x20, 255)  # B G R A: deep blue
            links = [(nodes[0], nodes[1]), (nodes[1], nodes[2]), (nodes[2], nodes[0])]
            if any(near_segment(x, y, a, b, max(1.0, 1.2 * s)) for a, b in links):
                colour = (0xF0, 0xE0, 0xC0, 255)
            for nx, ny in nodes:
                if (x - nx) ** 2 + (y - ny) ** 2 <= (3.6 * s) ** 2:
                    colour = (0xFF, 0xFF, 0xFF, 255)
                if (x - nx) ** 2 + (y - ny) ** 2 <= (1.8 * s) ** 2 and size >= 32:
                    colour = (0x30, 0xA0, 0xFF, 255)  # orange core
            px[row][col] = colour
    return px


def dib(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(p) for row in reversed(px) for p in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(stride)
        for col, p in enumerate(row):
            if p[3] == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + xor + bytes(mask)


def main(path):
    images = [dib(draw(n)) for n in (32, 16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'localization/orvane.ico')
