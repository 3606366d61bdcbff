#!/usr/bin/python3
"""Draws the voucher's pictures into templates/: the five form logos and the
scissors at the end of the cut line, in the sizes and formats of the layout.
Run with Debian's python3 (python3-pil): /usr/bin/python3 make_pictures.py"""

import os
from PIL import Image, ImageDraw, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates")
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def font(size):
    return ImageFont.truetype(BOLD, size)


def centred(draw, box, text, size, fill):
    f = font(size)
    l, t, r, b = draw.textbbox((0, 0), text, font=f)
    x = box[0] + (box[2] - box[0] - (r - l)) / 2 - l
    y = box[1] + (box[3] - box[1] - (b - t)) / 2 - t
    draw.text((x, y), text, font=f, fill=fill)


def save_gif(img, name):
    img.convert("P", palette=Image.ADAPTIVE, colors=32).save(os.path.join(OUT, name))


def roundel(size, colour, word, name):
    """A ring with a small building of columns and a word below."""
    w, h = size
    img = Image.new("RGB", size, "white")
    d = ImageDraw.Draw(img)
    d.ellipse((4, 2, w - 5, h - 24), outline=colour, width=5)
    cx, top = w // 2, 18
    d.polygon([(cx - 30, top + 20), (cx, top + 4), (cx + 30, top + 20)], fill=colour)
    for i in range(4):
        x = cx - 24 + i * 15
        d.rectangle((x, top + 24, x + 6, top + 52), fill=colour)
    d.rectangle((cx - 32, top + 55, cx + 32, top + 60), fill=colour)
    centred(d, (0, h - 22, w, h), word, 15, colour)
    save_gif(img, name)


def banner(size, colour, word, name):
    w, h = size
    img = Image.new("RGB", size, "white")
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((1, 1, w - 2, h - 2), radius=10, outline=colour, width=3)
    for i in range(3):
        d.rectangle((10 + i * 9, 12, 15 + i * 9, h - 12), fill=colour)
    centred(d, (40, 0, w - 6, h), word, 20, colour)
    save_gif(img, name)


def shield(size, colour, word, name):
    w, h = size
    img = Image.new("RGB", size, "white")
    d = ImageDraw.Draw(img)
    d.polygon([(8, 6), (w - 9, 6), (w - 9, 100), (w // 2, h - 40), (8, 100)], outline=colour, fill="white", width=5)
    d.rectangle((w // 2 - 8, 24, w // 2 + 8, 112), fill=colour)
    d.rectangle((30, 52, w - 31, 68), fill=colour)
    centred(d, (0, h - 34, w, h - 4), word, 18, colour)
    save_gif(img, name)


def tile(size, colour, word, name):
    w, h = size
    img = Image.new("RGB", size, "white")
    d = ImageDraw.Draw(img)
    d.rectangle((3, 3, w - 4, h - 30), fill=colour)
    d.ellipse((w // 2 - 22, 14, w // 2 + 22, 58), outline="white", width=5)
    d.line((w // 2 - 14, 36, w // 2 + 14, 36), fill="white", width=5)
    centred(d, (0, h - 28, w, h), word, 15, colour)
    save_gif(img, name)


def wide_jpeg(size, colour, word, name):
    w, h = size
    img = Image.new("RGB", size, "white")
    d = ImageDraw.Draw(img)
    d.polygon([(2, h - 3), (18, 3), (34, h - 3)], fill=colour)
    d.polygon([(20, h - 3), (36, 3), (52, h - 3)], outline=colour, width=3)
    centred(d, (56, 0, w - 2, h), word, 17, colour)
    img.save(os.path.join(OUT, name), quality=92)


def scissors(name):
    img = Image.new("RGB", (28, 19), "white")
    d = ImageDraw.Draw(img)
    d.ellipse((1, 1, 8, 8), outline="black", width=2)
    d.ellipse((1, 10, 8, 17), outline="black", width=2)
    d.line((7, 7, 26, 14), fill="black", width=2)
    d.line((7, 11, 26, 4), fill="black", width=2)
    save_gif(img, name)


if __name__ == "__main__":
    roundel((120, 107), (20, 60, 140), "INSTITUTO", "Img01.gif")
    banner((140, 55), (150, 40, 30), "FONDO", "Img02.gif")
    shield((144, 182), (30, 100, 60), "CAJA", "Img03.gif")
    tile((101, 107), (120, 60, 140), "ASOC.", "Img04.gif")
    wide_jpeg((160, 38), (200, 90, 20), "SERVICIO", "Img08.jpg")
    scissors("Image1.gif")
