#include "voucher_report/page_painter.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

#include "voucher_report/bar_code.h"

// The pictures live in this static library's resources, which the linker
// keeps only when something names them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace tarquelas::report {

namespace {

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

bool isText(const Control& c) { return c.kind == ControlKind::Label || c.kind == ControlKind::TextField; }

void drawBackground(QPainter& p, const Control& c, const QRectF& box) {
  if (isText(c) && c.style.background.isValid()) p.fillRect(box, c.style.background);
}

// The glyphs of a page's single-line texts, gathered by font and colour so
// that each pair is drawn in one go: a PDF then opens one text object per
// font instead of one per label.
class GlyphBatches {
 public:
  void add(const QGlyphRun& run, QPointF at, const QColor& color) {
    Batch& batch = batchFor(run.rawFont(), color);
    batch.glyphs.append(run.glyphIndexes());
    for (const QPointF& position : run.positions()) batch.positions.append(position + at);
  }

  void draw(QPainter& p) const {
    for (const Batch& batch : batches_) {
      QGlyphRun run;
      run.setRawFont(batch.font);
      run.setGlyphIndexes(batch.glyphs);
      run.setPositions(batch.positions);
      p.setPen(batch.color);
      p.drawGlyphRun(QPointF(), run);
    }
  }

 private:
  struct Batch {
    QRawFont font;
    QColor color;
    QList<quint32> glyphs;
    QList<QPointF> positions;
  };

  Batch& batchFor(const QRawFont& font, const QColor& color) {
    for (Batch& batch : batches_)
      if (batch.font == font && batch.color == color) return batch;
    return batches_.emplace_back(Batch{font, color, {}, {}});
  }

  std::vector<Batch> batches_;
};

// A multi-line text whose lines each fit the box's width at the design size
// is stacked from the top like single-line texts. False, drawing nothing,
// when a line would have to wrap or shrink or the lines overflow the box.
bool drawStackedLines(TextShaper& shaper, GlyphBatches& batches, const Control& c, const QString& text,
                      const QRectF& box) {
  TextStyle lineStyle = c.style;
  lineStyle.multiLine = false;
  lineStyle.alignment = c.style.alignment & Qt::AlignHorizontal_Mask;
  const QStringList lines = text.split(QLatin1Char('\n'));
  const QSizeF lineBox(box.width(), 0);
  qreal height = 0;
  for (const QString& line : lines) {
    const ShapedText& shaped = shaper.shaped(lineStyle, line, lineBox);
    if (shaped.font.pixelSize() != c.style.sizeTwips) return false;
    height = shaped.lineHeight;
  }
  if (height * lines.size() > box.height() * 0.98) return false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const ShapedText& shaped = shaper.shaped(lineStyle, lines[i], lineBox);
    const QPointF at(box.left(), std::round(box.top() + (i + 0.5) * height));
    for (const QGlyphRun& run : shaped.runs) batches.add(run, at + shaped.origin, c.style.color);
  }
  return true;
}

void drawText(QPainter& p, TextShaper& shaper, GlyphBatches& batches, const Control& c,
              const QString& caption, const QRectF& box) {
  const QString text = displayText(caption);
  if (text.isEmpty()) return;
  if (c.style.multiLine) {
    if (drawStackedLines(shaper, batches, c, text, box)) return;
    const QRectF area = textArea(box);
    p.setPen(c.style.color);
    p.setFont(fittedFont(c.style, text, area.size()));
    p.drawText(area, textFlags(c.style), text);
    return;
  }
  const ShapedText& shaped = shaper.shaped(c.style, text, box.size());
  for (const QGlyphRun& run : shaped.runs) batches.add(run, box.topLeft() + shaped.origin, c.style.color);
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

// The bars in one filled path: one drawing operation for the device, the
// modules whole device pixels wide where the box allows.
void drawBarCode(QPainter& p, const Control& c, const QString& value, const QRectF& box) {
  const qreal pixelsPerUnit = std::abs(p.transform().m11());
  const BarCodeBars code = barCodeBars(c.symbology, value, box, pixelsPerUnit > 0 ? 1 / pixelsPerUnit : 0);
  if (code.bars.empty()) return;
  QPainterPath bars;
  for (const QRectF& bar : code.bars) bars.addRect(bar);
  p.fillPath(bars, Qt::black);
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

void paintReportPage(const Page& page, QPainter& painter, TextShaper& shaper) {
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
  GlyphBatches batches;
  for (const PlacedItem& item : page.items)
    if (isText(*item.control))
      drawText(painter, shaper, batches, *item.control, item.text, item.rectOnPage());
  batches.draw(painter);
  painter.restore();
}

}  // namespace tarquelas::report
