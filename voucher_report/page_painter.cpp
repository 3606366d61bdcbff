#include "voucher_report/page_painter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "voucher_report/bar_code.h"

// The pictures live in this static library's resources, which the linker
// keeps only when something names them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace tarquelas::report {

namespace {

// Two percent spare for rounding between devices.
constexpr qreal kFitRoom = 0.98;

int textFlags(const TextStyle& style) {
  const Qt::Alignment vertical = style.multiLine ? Qt::AlignTop : Qt::AlignVCenter;
  const int wrap = style.multiLine ? Qt::TextWordWrap : Qt::TextSingleLine;
  return static_cast<int>(style.alignment | vertical) | wrap;
}

bool fits(const QFont& font, const TextStyle& style, const QString& text, QSizeF box) {
  const QFontMetricsF metrics(font);
  if (!style.multiLine) return metrics.horizontalAdvance(text) <= box.width();
  const QRectF need = metrics.boundingRect(QRectF(0, 0, box.width(), 1e7), textFlags(style), text);
  return need.width() <= box.width() && need.height() <= box.height();
}

QPen linePen(Edge edge) {
  QPen pen(Qt::black, edge == Edge::Thick ? kThickLine : kThinLine);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void drawEdge(QPainter& p, Edge edge, QPointF from, QPointF to) {
  if (edge == Edge::None) return;
  p.setPen(linePen(edge));
  p.drawLine(from, to);
}

void drawBorders(QPainter& p, const Borders& b, const QRectF& r) {
  if (b.left != Edge::None && b.left == b.top && b.left == b.right && b.left == b.bottom) {
    p.setPen(linePen(b.left));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    return;
  }
  drawEdge(p, b.left, r.topLeft(), r.bottomLeft());
  drawEdge(p, b.top, r.topLeft(), r.topRight());
  drawEdge(p, b.right, r.topRight(), r.bottomRight());
  drawEdge(p, b.bottom, r.bottomLeft(), r.bottomRight());
}

// A single-line text shaped and placed in its box once per text, style and
// box size: most captions repeat on every page, and shaping is the costly
// part of drawing text.
struct ShapedText {
  QFont font;
  QPointF origin;  // of the glyph runs, from the box's top-left corner
  QList<QGlyphRun> runs;
};

QTextLine layOutLine(QTextLayout& layout) {
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  return line;
}

ShapedText shapeSingleLine(const TextStyle& style, const QString& text, QSizeF boxSize) {
  const QRectF area = textArea(QRectF(QPointF(), boxSize));
  ShapedText shaped;
  shaped.font = designFont(style);
  QTextLayout layout(text, shaped.font);
  QTextLine line = layOutLine(layout);
  if (line.naturalTextWidth() > area.width() * kFitRoom) {
    shaped.font = fittedFont(style, text, area.size());
    layout.setFont(shaped.font);
    line = layOutLine(layout);
  }
  const qreal width = line.naturalTextWidth();
  qreal x = area.left();
  if (style.alignment & Qt::AlignRight) x = area.right() - width;
  if (style.alignment & Qt::AlignHCenter) x = area.left() + (area.width() - width) / 2;
  const qreal y = area.top() + (area.height() - line.height()) / 2;
  shaped.origin = QPointF(x, y);
  shaped.runs = layout.glyphRuns();
  return shaped;
}

QHash<QString, ShapedText>& shapedTexts() {
  static QHash<QString, ShapedText> cache;
  return cache;
}

// Fonts must go before the application's font database does.
void clearShapedTexts() { shapedTexts().clear(); }

const ShapedText& shapedSingleLine(const TextStyle& style, const QString& text, QSizeF boxSize) {
  QHash<QString, ShapedText>& cache = shapedTexts();
  static const bool registered = (qAddPostRoutine(clearShapedTexts), true);
  (void)registered;
  const QString key = QString::number(style.sizeTwips) + QLatin1Char(style.bold ? 'b' : 'r') +
                      QString::number(int(style.alignment)) + QLatin1Char(':') +
                      QString::number(boxSize.width()) + QLatin1Char('x') +
                      QString::number(boxSize.height()) + QLatin1Char(':') + style.family +
                      QLatin1Char('\x1f') + text;
  auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  if (cache.size() > 4000) cache.clear();  // texts that change with every voucher
  return *cache.insert(key, shapeSingleLine(style, text, boxSize));
}

bool isText(const Control& c) { return c.kind == ControlKind::Label || c.kind == ControlKind::TextField; }

void drawBackground(QPainter& p, const Control& c, const QRectF& box) {
  if (isText(c) && c.style.background.isValid()) p.fillRect(box, c.style.background);
}

void drawText(QPainter& p, const Control& c, const QString& caption, const QRectF& box) {
  const QString text = displayText(caption);
  if (text.isEmpty()) return;
  p.setPen(c.style.color);
  if (c.style.multiLine) {
    const QRectF area = textArea(box);
    p.setFont(fittedFont(c.style, text, area.size()));
    p.drawText(area, textFlags(c.style), text);
    return;
  }
  const ShapedText& shaped = shapedSingleLine(c.style, text, box.size());
  for (const QGlyphRun& run : shaped.runs) p.drawGlyphRun(box.topLeft() + shaped.origin, run);
}

// Pictures are decoded once and kept, so every page draws the same image
// (a PDF stores it once).
const QImage& picture(const QString& path) {
  static QHash<QString, QImage> cache;
  static const bool initialised = (initPictures(), true);
  (void)initialised;
  auto it = cache.find(path);
  if (it == cache.end()) it = cache.insert(path, QImage(path));
  return *it;
}

// A picture at its natural size (96 pixels an inch), made smaller to fit the
// box when needed, centred in it.
void drawImage(QPainter& p, const Control& c, const QRectF& box) {
  const QImage& image = picture(c.picture);
  if (image.isNull()) return;
  QSizeF size = QSizeF(image.size()) * (kTwipsPerInch / 96.0);
  if (size.width() > box.width() || size.height() > box.height()) size.scale(box.size(), Qt::KeepAspectRatio);
  QRectF target(QPointF(), size);
  target.moveCenter(box.center());
  p.drawImage(target, image);
}

void drawBarCode(QPainter& p, const Control& c, const QString& value, const QRectF& box) {
  const BarCodeBars code = barCodeBars(c.symbology, value, box);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRects(code.bars.data(), static_cast<int>(code.bars.size()));
  p.setBrush(Qt::NoBrush);
}

// The strokes of an item: lines, outlines, borders and bars.
void drawStrokes(QPainter& p, const PlacedItem& item) {
  const Control& c = *item.control;
  const QRectF box = item.rectOnPage();
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::TextField: drawBorders(p, c.borders, box); break;
    case ControlKind::Line:
      p.setPen(linePen(Edge::Thin));
      p.drawLine(c.line.translated(item.origin));
      break;
    case ControlKind::Shape:
      p.setPen(linePen(Edge::Thin));
      p.setBrush(Qt::NoBrush);
      p.drawRect(box);
      break;
    case ControlKind::Image: break;
    case ControlKind::BarCode: drawBarCode(p, c, item.text, box); break;
  }
}

// Moves the origin to the paper's corner on devices whose painter starts at
// the margins, and makes one unit a twip.
void mapTwips(QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device)) {
    const QPageLayout layout = paged->pageLayout();
    if (layout.mode() == QPageLayout::StandardMode) {
      const QRect paint = layout.paintRectPixels(device->logicalDpiX());
      painter.translate(-paint.left(), -paint.top());
    }
  }
  painter.scale(device->logicalDpiX() / double(kTwipsPerInch), device->logicalDpiY() / double(kTwipsPerInch));
}

}  // namespace

QFont designFont(const TextStyle& style) {
  QFont font(style.family);
  font.setPixelSize(style.sizeTwips);
  font.setBold(style.bold);
  // Whole-unit advances at the twip scale: a PDF then writes each glyph step
  // as a short integer. No shaping: the texts are Latin and unkerned.
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QRectF textArea(const QRectF& box) { return box.adjusted(kTextInset, 0, -kTextInset, 0); }

QString displayText(const QString& text) {
  const bool plain = !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) &&
                     !text.endsWith(QLatin1Char(' '));
  if (plain) return text;
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // Blanks at the end of a line (fixed-width fields) neither show nor take room.
  QStringList lines = out.split(QLatin1Char('\n'));
  for (QString& line : lines) {
    qsizetype end = line.size();
    while (end > 0 && line[end - 1] == QLatin1Char(' ')) --end;
    line.truncate(end);
  }
  return lines.join(QLatin1Char('\n'));
}

QFont fittedFont(const TextStyle& style, const QString& text, QSizeF box) {
  QFont font = designFont(style);
  const QSizeF room = box * kFitRoom;
  for (int size = style.sizeTwips; size > style.sizeTwips / 3; size = std::min(size - 1, size * 97 / 100)) {
    font.setPixelSize(size);
    if (fits(font, style, text, room)) return font;
  }
  return font;
}

void paintReportPage(const Page& page, QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  mapTwips(painter);
  // Fills and pictures first, then every stroke, then every text: the same
  // picture as drawing item by item (nothing overlaps but fills), with far
  // fewer changes of pen and font for the device.
  for (const PlacedItem& item : page.items) {
    drawBackground(painter, *item.control, item.rectOnPage());
    if (item.control->kind == ControlKind::Image) drawImage(painter, *item.control, item.rectOnPage());
  }
  for (const PlacedItem& item : page.items) drawStrokes(painter, item);
  for (const PlacedItem& item : page.items)
    if (isText(*item.control)) drawText(painter, *item.control, item.text, item.rectOnPage());
  painter.restore();
}

}  // namespace tarquelas::report
