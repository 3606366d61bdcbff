#include "voucher_report/page_painter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "voucher_report/bar_code.h"

// The pictures live in this static library's resources, which the linker
// keeps only when something names them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace tarquelas::report {

namespace {

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
  drawEdge(p, b.left, r.topLeft(), r.bottomLeft());
  drawEdge(p, b.top, r.topLeft(), r.topRight());
  drawEdge(p, b.right, r.topRight(), r.bottomRight());
  drawEdge(p, b.bottom, r.bottomLeft(), r.bottomRight());
}

void drawText(QPainter& p, const Control& c, const QString& caption, const QRectF& box) {
  if (c.style.background.isValid()) p.fillRect(box, c.style.background);
  const QString text = displayText(caption);
  if (!text.isEmpty()) {
    const QRectF area = textArea(box);
    p.setFont(fittedFont(c.style, text, area.size()));
    p.setPen(c.style.color);
    p.drawText(area, textFlags(c.style), text);
  }
  drawBorders(p, c.borders, box);
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
  for (const QRectF& bar : code.bars) p.drawRect(bar);
  p.setBrush(Qt::NoBrush);
}

void drawItem(QPainter& p, const PlacedItem& item) {
  const Control& c = *item.control;
  const QRectF box = item.rectOnPage();
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::TextField: drawText(p, c, item.text, box); break;
    case ControlKind::Line:
      p.setPen(linePen(Edge::Thin));
      p.drawLine(c.line.translated(item.origin));
      break;
    case ControlKind::Shape:
      p.setPen(linePen(Edge::Thin));
      p.setBrush(Qt::NoBrush);
      p.drawRect(box);
      break;
    case ControlKind::Image: drawImage(p, c, box); break;
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
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QRectF textArea(const QRectF& box) { return box.adjusted(kTextInset, 0, -kTextInset, 0); }

QString displayText(const QString& text) {
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

QFont fittedFont(const TextStyle& style, const QString& text, QSizeF box) {
  QFont font = designFont(style);
  // Two percent spare for rounding between devices.
  const QSizeF room = box * 0.98;
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
  for (const PlacedItem& item : page.items) drawItem(painter, item);
  painter.restore();
}

}  // namespace tarquelas::report
