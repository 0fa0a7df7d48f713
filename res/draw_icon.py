#!/usr/bin/env python3
"""Draws the program's icon, res/tesmirol.ico: an 8051 chip in a DIP package
with a UART frame (start bit, data bits, stop bit) running across it.

Three 16-colour images, 48, 32 and 16 pixels square, on the standard
16-colour palette, each with a transparency mask. Python standard library
only; run it again after changing the drawing:

    python3 res/draw_icon.py
"""

import pathlib
import struct

# The standard 16-colour palette as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREY, LIGHT_GREY, GREEN, YELLOW, WHITE = 0, 8, 7, 10, 11, 15
TRANSPARENT = None

# The frame drawn on the chip: idle high, start bit low, data bits, stop bit
# high; the 16-pixel image has room for the idle level, the start bit and two
# data bits only.
FRAME_BITS = [1, 0, 1, 0, 0, 1, 0, 1]
SMALL_FRAME_BITS = [1, 0, 1, 0]


def draw(size):
    """Returns rows of palette indexes (or TRANSPARENT), top row first."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, size)):
            for x in range(max(x0, 0), min(x1, size)):
                pixels[y][x] = colour

    def scaled(value):
        return round(value * size / 48)

    # Package body with a lighter outline and the pin-1 notch.
    left, right = scaled(10), size - scaled(10)
    top, bottom = scaled(3), size - scaled(3)
    fill(left, top, right, bottom, DARK_GREY)
    fill(left + 1, top + 1, right - 1, bottom - 1, BLACK)
    notch = max(scaled(6), 2)
    centre = size // 2
    fill(centre - notch // 2, top, centre + (notch + 1) // 2, top + max(scaled(3), 1), DARK_GREY)

    # Pins down both sides.
    pin_count = 6 if size >= 32 else 4
    pin_length = max(scaled(7), 2)
    pin_width = max(scaled(3), 1)
    span = bottom - top
    for i in range(pin_count):
        y = top + (2 * i + 1) * span // (2 * pin_count) - pin_width // 2
        fill(left - pin_length, y, left, y + pin_width, LIGHT_GREY)
        fill(right, y, right + pin_length, y + pin_width, LIGHT_GREY)

    # The UART frame as a square wave across the body.
    wave_left, wave_right = left + max(scaled(3), 1), right - max(scaled(3), 1)
    high_y = centre - max(scaled(6), 2)
    low_y = centre + max(scaled(6), 2)
    thickness = max(scaled(2), 1)
    width = wave_right - wave_left
    bits = FRAME_BITS if size >= 32 else SMALL_FRAME_BITS
    previous = None
    for i, bit in enumerate(bits):
        x0 = wave_left + i * width // len(bits)
        x1 = wave_left + (i + 1) * width // len(bits)
        y = high_y if bit else low_y
        fill(x0, y, x1, y + thickness, GREEN)
        if previous is not None and previous != bit:
            fill(x0, high_y, x0 + thickness, low_y + thickness, GREEN)
        previous = bit

    # A yellow tick marks the start bit, where the receiver synchronizes.
    start_x = wave_left + width // len(bits)
    if size >= 32:
        fill(start_x, low_y + thickness + 1, start_x + thickness, low_y + thickness + 1 + max(scaled(4), 1), YELLOW)

    # Pin-1 dot, in the corner beside the notch.
    dot = max(scaled(3), 1)
    inset = max(scaled(4), 2)
    fill(left + inset, top + inset, left + inset + dot, top + inset + dot, WHITE)
    return pixels


def bitmap(size):
    """The image as it stands in an icon file: header, palette, colour
    bits and mask, rows bottom up."""
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)

    colour_rows = []
    mask_rows = []
    for row in reversed(pixels):
        nibbles = [0 if p is TRANSPARENT else p for p in row]
        colour = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour_rows.append(colour + b"\0" * (-len(colour) % 4))
        bits = [1 if p is TRANSPARENT else 0 for p in row]
        mask = bytes(sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, size, 8))
        mask_rows.append(mask + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def icon_file(sizes):
    images = [bitmap(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    target = pathlib.Path(__file__).with_name("tesmirol.ico")
    target.write_bytes(icon_file([48, 32, 16]))
    print(f"wrote {target}")
