#!/usr/bin/env python3
"""Draws the pictures of the sample lists: simple signs made of shapes, written as PNG.

Run from the repository's top folder; the pictures land in examples/. Only the standard
library is used, so the pictures can be made again anywhere.
"""
import struct
import zlib


class Canvas:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def rectangle(self, left, top, right, bottom, colour):
        for y in range(max(0, top), min(self.height, bottom)):
            row = self.pixels[y]
            for x in range(max(0, left), min(self.width, right)):
                row[x] = colour

    def circle(self, cx, cy, radius, colour, inner=0):
        for y in range(max(0, cy - radius), min(self.height, cy + radius + 1)):
            for x in range(max(0, cx - radius), min(self.width, cx + radius + 1)):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if inner ** 2 <= d <= radius ** 2:
                    self.pixels[y][x] = colour

    def triangle(self, top, bottom, half_width, cx, colour):
        for y in range(top, bottom):
            w = half_width * (y - top) // max(1, bottom - top)
            for x in range(cx - w, cx + w + 1):
                if 0 <= x < self.width and 0 <= y < self.height:
                    self.pixels[y][x] = colour

    def save(self, path):
        raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in self.pixels)
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


WHITE, BLACK, RED, GREEN, YELLOW, GREY, BLUE = (
    (255, 255, 255), (20, 20, 20), (200, 30, 30), (30, 150, 60), (250, 200, 0),
    (150, 150, 150), (40, 80, 170))

# A brake gauge: exactly the picture size, shown as it is.
gauge = Canvas(200, 260, WHITE)
gauge.circle(100, 120, 80, BLACK, inner=74)
gauge.circle(100, 120, 6, BLACK)
for i in range(60):
    gauge.rectangle(100 + i, 118 - i // 2, 102 + i, 122 - i // 2, RED)
gauge.rectangle(40, 220, 160, 236, GREEN)
gauge.save("examples/Bremsen/manometer.png")

# A warning sign wider than tall: scaled to the picture size when shown.
sign = Canvas(320, 240, WHITE)
sign.triangle(20, 220, 130, 160, RED)
sign.triangle(50, 205, 100, 160, YELLOW)
sign.rectangle(152, 90, 168, 170, BLACK)
sign.rectangle(152, 180, 168, 196, BLACK)
sign.save("examples/Störungen/warnung.png")

# A door, 240 wide and as tall as the picture: shown at its own size.
door = Canvas(240, 260, GREY)
door.rectangle(40, 20, 200, 250, BLUE)
door.rectangle(60, 40, 110, 120, WHITE)
door.rectangle(130, 40, 180, 120, WHITE)
door.rectangle(117, 20, 123, 250, BLACK)
door.circle(100, 170, 8, YELLOW)
door.circle(140, 170, 8, YELLOW)
door.save("examples/Türen/tür.png")
