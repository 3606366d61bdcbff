#!/usr/bin/python3
"""Draws the voucher's pictures into templates/: the five form logos and the
scissors at the end of the cut line, in the formats of the layout.

Each picture prints at the size the layout gives it (its pixel size there at
96 pixels an inch); it is drawn here with SCALE times as many pixels, so it
is sharp on a printer of up to 96 * SCALE dots an inch, and with SUPER times
more again before being scaled down, so its edges are smooth.
Run with Debian's python3 (python3-pil): /usr/bin/python3 make_pictures.py"""

import os
from PIL import Image, ImageDraw, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates")
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SCALE = 4  # 384 pixels an inch at the printed size
SUPER = 4


class Canvas:
    """A white picture of the layout's size, drawn in layout pixels."""

    def __init__(self, size):
        self.size = size
        self.k = SCALE * SUPER
        self.img = Image.new("RGB", (size[0] * self.k, size[1] * self.k), "white")
        self.draw = ImageDraw.Draw(self.img)

    def box(self, *xy):
        return [round(v * self.k) for v in xy]

    def points(self, pts):
        return [(round(x * self.k), round(y * self.k)) for x, y in pts]

    def width(self, w):
        return max(1, round(w * self.k))

    def centred(self, box, text, size, fill):
        f = ImageFont.truetype(BOLD, round(size * self.k))
        l, t, r, b = self.draw.textbbox((0, 0), text, font=f)
        x0, y0, x1, y1 = self.box(*box)
        self.draw.text((x0 + (x1 - x0 - (r - l)) / 2 - l, y0 + (y1 - y0 - (b - t)) / 2 - t), text, font=f, fill=fill)

    def finished(self):
        return self.img.resize((self.size[0] * SCALE, self.size[1] * SCALE), Image.LANCZOS)


def save_gif(canvas, name):
    canvas.finished().convert("P", palette=Image.ADAPTIVE, colors=64).save(os.path.join(OUT, name))


def roundel(size, colour, word, name):
    """A ring with a small building of columns and a word below."""
    w, h = size
    c = Canvas(size)
    c.draw.ellipse(c.box(4, 2, w - 5, h - 24), outline=colour, width=c.width(5))
    cx, top = w / 2, 18
    c.draw.polygon(c.points([(cx - 30, top + 20), (cx, top + 4), (cx + 30, top + 20)]), fill=colour)
    for i in range(4):
        x = cx - 24 + i * 15
        c.draw.rectangle(c.box(x, top + 24, x + 6, top + 52), fill=colour)
    c.draw.rectangle(c.box(cx - 29, top + 55, cx + 29, top + 60), fill=colour)
    c.centred((0, h - 22, w, h), word, 15, colour)
    save_gif(c, name)


def banner(size, colour, word, name):
    w, h = size
    c = Canvas(size)
    c.draw.rounded_rectangle(c.box(1, 1, w - 2, h - 2), radius=c.width(10), outline=colour, width=c.width(3))
    for i in range(3):
        c.draw.rectangle(c.box(10 + i * 9, 12, 15 + i * 9, h - 12), fill=colour)
    c.centred((40, 0, w - 6, h), word, 20, colour)
    save_gif(c, name)


def shield(size, colour, word, name):
    w, h = size
    c = Canvas(size)
    outline = [(8, 6), (w - 9, 6), (w - 9, 100), (w / 2, h - 40), (8, 100)]
    c.draw.polygon(c.points(outline), outline=colour, fill="white", width=c.width(5))
    c.draw.rectangle(c.box(w / 2 - 8, 24, w / 2 + 8, 112), fill=colour)
    c.draw.rectangle(c.box(30, 52, w - 31, 68), fill=colour)
    c.centred((0, h - 34, w, h - 4), word, 18, colour)
    save_gif(c, name)


def tile(size, colour, word, name):
    w, h = size
    c = Canvas(size)
    c.draw.rectangle(c.box(3, 3, w - 4, h - 30), fill=colour)
    c.draw.ellipse(c.box(w / 2 - 22, 14, w / 2 + 22, 58), outline="white", width=c.width(5))
    c.draw.rectangle(c.box(w / 2 - 14, 33.5, w / 2 + 14, 38.5), fill="white")
    c.centred((0, h - 28, w, h), word, 15, colour)
    save_gif(c, name)


def wide_jpeg(size, colour, word, name):
    w, h = size
    c = Canvas(size)
    c.draw.polygon(c.points([(2, h - 3), (18, 3), (34, h - 3)]), fill=colour)
    c.draw.polygon(c.points([(20, h - 3), (36, 3), (52, h - 3)]), outline=colour, width=c.width(3))
    c.centred((56, 0, w - 2, h), word, 17, colour)
    dpi = 96 * SCALE
    c.finished().save(os.path.join(OUT, name), quality=92, dpi=(dpi, dpi))


def scissors(name):
    c = Canvas((28, 19))
    c.draw.ellipse(c.box(1, 1, 8, 8), outline="black", width=c.width(1.6))
    c.draw.ellipse(c.box(1, 10, 8, 17), outline="black", width=c.width(1.6))
    c.draw.line(c.points([(7, 7), (26, 14)]), fill="black", width=c.width(1.6))
    c.draw.line(c.points([(7, 11), (26, 4)]), fill="black", width=c.width(1.6))
    save_gif(c, name)


if __name__ == "__main__":
    roundel((120, 107), (20, 60, 140), "INSTITUTO", "Img01.gif")
    banner((140, 55), (150, 40, 30), "FONDO", "Img02.gif")
    shield((144, 182), (30, 100, 60), "CAJA", "Img03.gif")
    tile((101, 107), (120, 60, 140), "ASOC.", "Img04.gif")
    wide_jpeg((160, 38), (200, 90, 20), "SERVICIO", "Img08.jpg")
    scissors("Image1.gif")
