"""Screenshots as pixels, and the colours the tests look for.

Colours the window description fixes (the ground, the vehicles, the red of
the track) are compared closely; system colours and widget styles, which
depend on the platform's palette, only by being dark, light or not ground.
"""

import struct
import zlib

GROUND = (192, 192, 192)  # the window's BackColor 0x00C0C0C0


def is_ground(p):
    return p == GROUND


def is_dark(p):  # road edges, rails, outlines, text: well below the ground's 192
    return sum(p) / 3 < 128


def is_black(p):
    return max(p) < 40


def is_white(p):
    return min(p) >= 250


def is_light(p):
    return min(p) > 220


def is_red(p):  # the window's ForeColor 0x000000FF: track and leg numbers
    return p[0] > 200 and p[1] < 70 and p[2] < 70


def is_dark_red(p):  # red_tram, 0x000000C0
    return 150 < p[0] < 230 and p[1] < 40 and p[2] < 40


def is_pink(p):  # rose_auto, 0x008080FF
    return p[0] > 230 and 100 < p[1] < 160 and 100 < p[2] < 160


def is_cyan(p):  # avto_blue's body, 0x00FFFF00
    return p[0] < 60 and p[1] > 200 and p[2] > 200


def is_sign_red(p):
    return p[0] > 150 and p[1] < 90 and p[2] < 90


def is_sign_blue(p):
    return p[2] > 120 and p[0] < 90 and p[2] > p[1] + 40


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = 3 * (int(y) * self.width + int(x))
        return tuple(self.rgb[i:i + 3])

    def pixels(self, boxes):
        """Every pixel of a box (x0, y0, x1, y1), ends excluded, or of a list of
        boxes; clipped to the image."""
        for x0, y0, x1, y1 in boxes if isinstance(boxes, list) else [boxes]:
            for y in range(max(0, y0), min(self.height, y1)):
                for x in range(max(0, x0), min(self.width, x1)):
                    yield self.pixel(x, y)

    def count(self, boxes, predicate):
        return sum(1 for p in self.pixels(boxes) if predicate(p))

    def share(self, boxes, predicate):
        """The share of the pixels for which the predicate holds."""
        all_pixels = list(self.pixels(boxes))
        return sum(1 for p in all_pixels if predicate(p)) / max(1, len(all_pixels))

    def hits(self, boxes, predicate):
        """The share of the boxes that hold at least one pixel for which the
        predicate holds."""
        return sum(1 for b in boxes if self.count(b, predicate)) / max(1, len(boxes))

    @staticmethod
    def describe(boxes):
        """Pixels as a test message names them: the box that holds them all."""
        boxes = boxes if isinstance(boxes, list) else [boxes]
        x0, y0 = min(b[0] for b in boxes), min(b[1] for b in boxes)
        x1, y1 = max(b[2] for b in boxes), max(b[3] for b in boxes)
        return f"x {x0}..{x1 - 1}, y {y0}..{y1 - 1}"

    def differing(self, other, box):
        """How many pixels of a box differ between this image and another of the
        same size. Rows that match are passed over whole, so that polling for a
        change leaves the cores free."""
        x0, y0, x1, y1 = box
        x0, x1, changed = max(0, x0), min(self.width, x1), 0
        for y in range(max(0, y0), min(self.height, y1)):
            a, b = (image.rgb[3 * (y * self.width + x0):3 * (y * self.width + x1)]
                    for image in (self, other))
            if a != b:
                changed += sum(a[i:i + 3] != b[i:i + 3] for i in range(0, len(a), 3))
        return changed

    @staticmethod
    def load_png(path):
        """An 8-bit RGB or RGBA PNG file, not interlaced, as its RGB pixels."""
        with open(path, "rb") as f:
            data = f.read()
        at, chunks, header = 8, [], None
        while at < len(data):
            length, kind = struct.unpack(">I4s", data[at:at + 8])
            body = data[at + 8:at + 8 + length]
            if kind == b"IHDR":
                header = struct.unpack(">IIBBBBB", body)
            elif kind == b"IDAT":
                chunks.append(body)
            at += 12 + length
        width, height, depth, colour, _, _, interlace = header
        if depth != 8 or colour not in (2, 6) or interlace:
            raise ValueError(f"{path}: not an 8-bit RGB(A) PNG")
        n = 3 if colour == 2 else 4
        raw, stride, rows, up = zlib.decompress(b"".join(chunks)), width * n, [], bytes(width * n)
        for y in range(height):
            kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride) if kind else ():
                a, b = line[i - n] if i >= n else 0, up[i]
                c = up[i - n] if i >= n else 0
                if kind == 1:
                    line[i] = (line[i] + a) & 255
                elif kind == 2:
                    line[i] = (line[i] + b) & 255
                elif kind == 3:
                    line[i] = (line[i] + (a + b) // 2) & 255
                else:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
            up = bytes(line)
            rows.append(up if n == 3 else b"".join(up[i:i + 3] for i in range(0, stride, 4)))
        return Image(width, height, b"".join(rows))

    def resampled(self, width, height):
        """The image at another size, each pixel taken from the middle of
        the area it stands for."""
        columns = [3 * int((x + 0.5) * self.width / width) for x in range(width)]
        rows = []
        for y in range(height):
            start = 3 * self.width * int((y + 0.5) * self.height / height)
            row = self.rgb[start:start + 3 * self.width]
            rows.append(b"".join(row[c:c + 3] for c in columns))
        return Image(width, height, b"".join(rows))

    def save_png(self, path):
        rows = b"".join(b"\0" + self.rgb[3 * self.width * y:3 * self.width * (y + 1)]
                        for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(rows)))
            f.write(chunk(b"IEND", b""))
