// Paints laid-out pages with QPainter in twips, on any device: screen,
// printer, PDF. Also the text fitting the painter shares with the layout
// checks: a text wider than its box is drawn in a smaller size, never cut.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include "voucher_report/report_design.h"
#include "voucher_report/report_engine.h"

class QPainter;

namespace tarquelas::report {

// Pen widths of the borders and lines, in twips.
inline constexpr int kThinLine = 10;
inline constexpr int kThickLine = 30;
// Room kept between a text and the sides of its box, in twips.
inline constexpr int kTextInset = 30;

// The design's font for style, sized in twips (pixel size in the twips
// coordinate system the pages are painted in).
QFont designFont(const TextStyle& style);

// The font text is drawn in inside a box of size: the design font, made
// smaller until the text fits the box's width (and, for multi-line texts,
// its height).
QFont fittedFont(const TextStyle& style, const QString& text, QSizeF box);

// The room a text has inside a control's box.
QRectF textArea(const QRectF& box);

// A caption's line ends (CR LF, CR or LF) made into the painter's.
QString displayText(const QString& text);

// Paints page on painter. The painter's coordinates are the device's pixels
// from the paper's top-left corner (or, on a paged device in standard mode,
// from the corner of its margins); the scale comes from the device's DPI.
void paintReportPage(const Page& page, QPainter& painter);

}  // namespace tarquelas::report
