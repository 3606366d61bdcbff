#include "report_engine/page_painter.h"

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

#include "report_engine/bar_code.h"

namespace tarquelas::report {

namespace {

QPen linePen(Edge edge) {
  QPen pen(Qt::black, edge == Edge::Thick ? kThickLine : kThinLine);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

// The strokes of a page gathered by pen, and its fills by colour, so that
// each goes to the device in one call: a PDF then sets a pen once and writes
// one path, where item by item it would set it again for every border.
class StrokeBatches {
 public:
  void addBorders(const Borders& b, const QRectF& r) {
    if (b.left != Edge::None && b.left == b.top && b.left == b.right && b.left == b.bottom) {
      addRect(b.left, r);
      return;
    }
    addLine(b.left, QLineF(r.topLeft(), r.bottomLeft()));
    addLine(b.top, QLineF(r.topLeft(), r.topRight()));
    addLine(b.right, QLineF(r.topRight(), r.bottomRight()));
    addLine(b.bottom, QLineF(r.bottomLeft(), r.bottomRight()));
  }
  void addLine(Edge edge, const QLineF& line) {
    if (edge != Edge::None) of(edge).lines.push_back(line);
  }
  void addRect(Edge edge, const QRectF& rect) {
    if (edge != Edge::None) of(edge).rects.push_back(rect);
  }

  void draw(QPainter& p) const {
    p.setBrush(Qt::NoBrush);
    for (Edge edge : {Edge::Thin, Edge::Thick}) {
      const Batch& batch = batches_[std::size_t(edge)];
      if (batch.lines.empty() && batch.rects.empty()) continue;
      p.setPen(linePen(edge));
      if (!batch.rects.empty()) p.drawRects(batch.rects.data(), int(batch.rects.size()));
      if (!batch.lines.empty()) p.drawLines(batch.lines.data(), int(batch.lines.size()));
    }
  }

 private:
  struct Batch {
    std::vector<QLineF> lines;
    std::vector<QRectF> rects;
  };
  Batch& of(Edge edge) { return batches_[std::size_t(edge)]; }
  Batch batches_[3];
};

class FillBatches {
 public:
  void add(const QColor& color, const QRectF& rect) {
    for (auto& [c, rects] : batches_)
      if (c == color) return rects.push_back(rect);
    batches_.push_back({color, {rect}});
  }
  void draw(QPainter& p) const {
    p.setPen(Qt::NoPen);
    for (const auto& [color, rects] : batches_) {
      p.setBrush(color);
      p.drawRects(rects.data(), int(rects.size()));
    }
    p.setBrush(Qt::NoBrush);
  }

 private:
  std::vector<std::pair<QColor, std::vector<QRectF>>> batches_;
};

bool isText(const Control& c) { return c.kind == ControlKind::Label || c.kind == ControlKind::TextField; }

void addBackground(FillBatches& fills, const Control& c, const QRectF& box) {
  if (isText(c) && c.style.background.isValid()) fills.add(c.style.background, box);
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

  void draw(QPainter& p, const GlyphRunDrawer& glyphs) const {
    for (const Batch& batch : batches_) {
      QGlyphRun run;
      run.setRawFont(batch.font);
      run.setGlyphIndexes(batch.glyphs);
      run.setPositions(batch.positions);
      glyphs.draw(p, run, batch.color);
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
// object (a PDF stores an image once however many pages show it).
const QImage& picture(const QString& path) {
  static QHash<QString, QImage> cache;
  auto it = cache.find(path);
  if (it == cache.end()) it = cache.insert(path, QImage(path));
  return *it;
}

// A picture at the size it prints at, made smaller to fit the box when
// needed, centred in it; its pixels are finer than the paper's inch needs.
void drawImage(QPainter& p, const Control& c, const QRectF& box) {
  const QImage& image = picture(c.picture);
  if (image.isNull()) return;
  QSizeF size = c.pictureSize.isEmpty() ? box.size() : QSizeF(c.pictureSize);
  if (size.width() > box.width() || size.height() > box.height()) size.scale(box.size(), Qt::KeepAspectRatio);
  QRectF target(QPointF(), size);
  target.moveCenter(box.center());
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, image);
  p.restore();
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

// The strokes of an item: lines, outlines and borders, gathered; bars are
// drawn at once.
void addStrokes(QPainter& p, StrokeBatches& strokes, const PlacedItem& item) {
  const Control& c = *item.control;
  const QRectF box = item.rectOnPage();
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::TextField: strokes.addBorders(c.borders, box); break;
    case ControlKind::Line: strokes.addLine(Edge::Thin, c.line.translated(item.origin)); break;
    case ControlKind::Shape: strokes.addRect(Edge::Thin, box); break;
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

void GlyphRunDrawer::draw(QPainter& painter, const QGlyphRun& run, const QColor& color) const {
  painter.setPen(color);
  painter.drawGlyphRun(QPointF(), run);
}

void paintReportPage(const Page& page, QPainter& painter, TextShaper& shaper, const GlyphRunDrawer& glyphs) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  mapTwips(painter);
  // Fills and pictures first, then every stroke, then every text: the same
  // picture as drawing item by item (nothing overlaps but fills), with far
  // fewer changes of pen and font for the device.
  FillBatches fills;
  for (const PlacedItem& item : page.items) addBackground(fills, *item.control, item.rectOnPage());
  fills.draw(painter);
  for (const PlacedItem& item : page.items)
    if (item.control->kind == ControlKind::Image) drawImage(painter, *item.control, item.rectOnPage());
  StrokeBatches strokes;
  for (const PlacedItem& item : page.items) addStrokes(painter, strokes, item);
  strokes.draw(painter);
  GlyphBatches batches;
  for (const PlacedItem& item : page.items)
    if (isText(*item.control))
      drawText(painter, shaper, batches, *item.control, item.text, item.rectOnPage());
  batches.draw(painter, glyphs);
  painter.restore();
}

}  // namespace tarquelas::report
