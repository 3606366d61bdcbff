#!/usr/bin/python3
"""The same voucher page drawn by ReportLab, for comparison with the
program's PDF writer: the same texts, boxes and lines at the same places, an
Interleaved 2 of 5 bar code and DejaVu Sans embedded as TrueType.

  /usr/bin/python3 bench/vouchers_reportlab.py VOUCHERS OUT.pdf
Prints: pages, wall and processor seconds, pages per second of each, and
peak memory (kB)."""

import os
import resource
import sys
import time

from reportlab.graphics.barcode.common import I2of5
from reportlab.lib.pagesizes import A4
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
pdfmetrics.registerFont(TTFont("Sans", FONT_DIR + "DejaVuSans.ttf"))
pdfmetrics.registerFont(TTFont("SansBold", FONT_DIR + "DejaVuSans-Bold.ttf"))

LEFT, TOP = 700, 800          # margins, twips
PAGE_H = A4[1]
TW = 1 / 20.0                 # points per twip

# (left, top, width, height, text, size in pt, bold, align, border)
HEADING = [
    (142, 142, 9779, 283, "{inst}", 9, 1, "l", 2), (9921, 142, 709, 283, "F0101", 9, 1, "c", 2),
    (2976, 567, 6945, 283, "{cuit}", 9, 1, "l", 0), (10063, 567, 709, 283, "2/2", 9, 0, "r", 0),
    (2976, 850, 7796, 567, "{cons}", 9, 1, "l", 0), (2976, 1417, 2693, 284, "PERIODO: 03 - 2026", 9, 1, "l", 0),
    (5811, 1417, 4961, 284, "DECLARACION: 01", 9, 1, "l", 0), (2976, 1701, 2693, 283, "{num}", 8, 1, "l", 0),
    (5811, 1701, 4961, 283, "VENCIMIENTO: 15/04/2026", 9, 1, "l", 0),
    (142, 2409, 3260, 284, "CONCEPTO", 9, 1, "c", 1), (3402, 2409, 2692, 284, "IMPORTE", 9, 1, "c", 1),
    (6094, 2409, 2268, 284, "INTERES", 9, 1, "c", 1), (8362, 2409, 2410, 284, "TOTAL", 9, 1, "c", 1),
]
DETAIL = [(135, 3255, "l", "{concept}"), (3405, 2625, "r", "617,28"), (6030, 2265, "r", "0,00"),
          (8295, 2475, "r", "617,28")]
FOOTER = [
    (6030, 0, 2475, 285, "TOTAL DE CONCEPTOS:", 9, 0, "r", 1), (8505, 0, 2265, 285, "1234,56", 9, 0, "r", 1),
    (6030, 285, 2475, 285, "- PAGOS A CUENTA:", 9, 0, "r", 1), (8505, 285, 2265, 285, "0,00", 9, 0, "r", 1),
    (6030, 570, 2475, 285, "TOTAL A PAGAR:", 9, 1, "r", 2), (8505, 570, 2265, 285, "1234,56", 9, 1, "r", 2),
    (135, 900, 3840, 285, "CANTIDAD DE TRABAJADORES: 4", 9, 1, "l", 0),
    (5220, 900, 5595, 285, "VENCIMIENTO: 15/04/2026", 9, 1, "r", 0),
    (285, 2265, 1560, 210, "Sello Caja", 7, 0, "c", 0), (2415, 1695, 5385, 285, "Forma de pago:", 7, 0, "l", 0),
    (7935, 1770, 855, 210, "Efectivo", 7, 0, "l", 0), (9495, 1770, 855, 210, "Cheque", 7, 0, "l", 0),
    (2415, 1980, 8370, 285, "Cheque Nro:", 7, 0, "l", 0), (2415, 2265, 8370, 285, "Banco:", 7, 0, "l", 0),
    (2385, 2595, 8385, 225, "Lugares habilitados para el pago:", 7, 0, "l", 0),
    (2550, 2820, 8220, 255, " \u2022 Banco de la Naci\u00f3n Argentina", 7, 0, "l", 0),
    (2550, 3075, 8220, 255, " \u2022 Pago F\u00e1cil", 7, 0, "l", 0),
    (600, 3570, 9570, 285, "C\u00f3digo de barras: {code}", 7, 0, "c", 0),
    (135, 4035, 5385, 135, "Tal\u00f3n para el contribuyente", 6, 0, "l", 0),
    (135, 4110, 10635, 285, "- " * 88, 8.5, 0, "l", 0),
    (135, 4320, 5385, 135, "Tal\u00f3n para el ente recaudador", 6, 0, "l", 0),
    (142, 4819, 9779, 283, "{inst}", 9, 1, "l", 2), (9921, 4819, 709, 283, "F0101", 9, 1, "c", 2),
    (142, 5244, 9496, 284, "{cuit}", 9, 1, "l", 0), (9921, 5244, 851, 284, "2/2", 9, 1, "r", 0),
    (142, 5528, 10630, 425, "{cons}", 9, 1, "l", 0), (142, 5953, 3401, 283, "PERIODO: 03 - 2026", 9, 1, "l", 0),
    (3543, 5953, 3260, 283, "DECLARACION: 01", 9, 1, "l", 0),
    (6803, 5953, 3969, 283, "VENCIMIENTO: 15/04/2026", 9, 1, "r", 0),
    (142, 6236, 3401, 284, "{num}", 9, 1, "l", 0), (6661, 6236, 4111, 284, "TOTAL A PAGAR: 1234,56", 9, 1, "r", 0),
    (0, 7795, 1276, 284, "Forma de pago:", 7, 0, "l", 0), (1276, 7795, 708, 284, "Efectivo", 7, 0, "l", 0),
    (2268, 7795, 708, 284, "Cheque", 7, 0, "l", 0), (3260, 7795, 3260, 284, "Cheque Nro:", 7, 0, "l", 0),
    (6520, 7795, 4110, 284, "Banco:", 7, 0, "l", 0),
]
HEADING_LINES = [(2976, 850, 10630, 850), (2976, 1417, 10772, 1417), (2976, 1701, 10772, 1701),
                 (2976, 1984, 10772, 1984), (142, 2409, 10772, 2409)]
FOOTER_LINES = [(2415, 1980, 10695, 1980), (2415, 2265, 10695, 2265), (2415, 2550, 10695, 2550),
                (142, 5528, 10772, 5528), (142, 5953, 10772, 5953), (142, 6236, 10772, 6236),
                (142, 6520, 10772, 6520), (4110, 8079, 6520, 8079), (7087, 8079, 10630, 8079)]
SHAPES = [(135, 1560, 1845, 1560), (8790, 1695, 285, 285), (10275, 1695, 285, 285), (1984, 7795, 284, 284),
          (2976, 7795, 284, 284)]


def x(t):
    return (LEFT + t) * TW


def y(t):
    return PAGE_H - (TOP + t) * TW


def label(c, top, row, values):
    left, t, w, h, text, size, bold, align, border = row
    text = text.format(**values)
    c.setFont("SansBold" if bold else "Sans", size)
    base = y(top + t + h / 2) - size * 0.35
    if align == "l":
        c.drawString(x(left + 30), base, text)
    elif align == "r":
        c.drawRightString(x(left + w - 30), base, text)
    else:
        c.drawCentredString(x(left + w / 2), base, text)
    if border:
        c.setLineWidth(1.5 if border == 2 else 0.5)
        c.rect(x(left), y(top + t + h), w * TW, h * TW)


def lines(c, top, rows):
    c.setLineWidth(0.5)
    for x1, y1, x2, y2 in rows:
        c.line(x(x1), y(top + y1), x(x2), y(top + y2))


def page(c, n):
    values = {"inst": "INSTITUTO DE SERVICIOS SOCIALES", "cuit": "CUIT: 30-%08d-5  (%d)" % (10000000 + n, n),
              "cons": "CONSORCIO: CONSORCIO EDIFICIO NUMERO %d" % n, "num": "N\u00ba TARQUELA: 00-%08d" % n,
              "code": str(n).rjust(59, "7"), "concept": ""}
    for row in HEADING:
        label(c, 0, row, values)
    lines(c, 0, HEADING_LINES)
    c.drawImage(LOGO, x(142), y(425 + 1605), 1800 * TW, 1605 * TW)
    top = 2730
    for concept in ("CONTRIBUCION MENSUAL", "FONDO DE CAPACITACION"):
        values["concept"] = concept
        for left, w, align, text in DETAIL:
            label(c, top, (left, 0, w, 285, text, 9, 0, align, 1), values)
        top += 300
    for row in FOOTER:
        label(c, top, row, values)
    lines(c, top, FOOTER_LINES)
    c.setLineWidth(0.5)
    for left, t, w, h in SHAPES:
        c.rect(x(left), y(top + t + h), w * TW, h * TW)
    code = "0" + values["code"]
    bar = I2of5(code, checksum=0, bearers=0, quiet=0, barHeight=851 * TW, barWidth=12.7 * TW, ratio=3)
    bar.drawOn(c, x(2409 + 127), y(top + 6803 + 851))
    c.showPage()


LOGO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates", "Img01.gif")


def main():
    vouchers, out = int(sys.argv[1]), sys.argv[2]
    start = time.time()
    cpu_start = time.process_time()
    c = canvas.Canvas(out, pagesize=A4)
    for n in range(vouchers):
        page(c, n)
    c.save()
    seconds = time.time() - start
    cpu = time.process_time() - cpu_start
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print("pages %d wall_s %.2f cpu_s %.2f pages_per_cpu_s %.0f pages_per_wall_s %.0f peak_rss_kb %d"
          % (vouchers, seconds, cpu, vouchers / cpu, vouchers / seconds, peak))


if __name__ == "__main__":
    main()
