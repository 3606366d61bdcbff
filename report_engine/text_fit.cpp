#include "report_engine/text_fit.h"

#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "pdf/font_subset.h"

namespace tarquelas::report {

namespace {

// Two percent spare for rounding between devices.
constexpr qreal kFitRoom = 0.98;

bool fits(const QFont& font, const TextStyle& style, const QString& text, QSizeF box) {
  const QFontMetricsF metrics(font);
  if (!style.multiLine) return metrics.horizontalAdvance(text) <= box.width();
  const QRectF need = metrics.boundingRect(QRectF(0, 0, box.width(), 1e7), textFlags(style), text);
  return need.width() <= box.width() && need.height() <= box.height();
}

struct Run {
  QGlyphRun run;
  qreal width = 0;
  qreal ascent = 0;
  qreal height = 0;
};

// One glyph per character straight from the font, when the font has them
// all: the texts are Latin, unkerned and without ligatures.
template <typename FontGlyphs>
std::optional<Run> directRun(FontGlyphs& font, const QString& text) {
  const QRawFont& raw = font.font;
  if (!raw.isValid()) return std::nullopt;
  QList<quint32> kept;
  QList<QPointF> positions;
  kept.reserve(text.size());
  positions.reserve(text.size());
  qreal x = 0;
  for (QChar c : text) {
    if (c.isSurrogate()) return std::nullopt;
    auto it = font.glyphs.constFind(c.unicode());
    if (it == font.glyphs.constEnd()) {
      const QList<quint32> glyph = raw.glyphIndexesForString(QString(c));
      const quint32 g = glyph.size() == 1 ? glyph[0] : 0;
      // The font's own advance, as a PDF's widths give it: text set at it
      // needs no corrections between glyphs there.
      qreal advance = 0;
      if (g < font.widths.size()) {
        advance = font.widths[g] * raw.pixelSize() / 1000;
      } else {
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(QList<quint32>{g});
        advance = advances.isEmpty() ? 0 : advances[0].x();
      }
      it = font.glyphs.insert(c.unicode(), {g, advance});
    }
    if (it->first == 0) return std::nullopt;
    if (c != QLatin1Char(' ')) {
      kept.append(it->first);
      positions.append(QPointF(x, 0));
    }
    x += it->second;
  }
  Run out;
  out.run.setRawFont(raw);
  out.run.setGlyphIndexes(kept);
  out.run.setPositions(positions);
  out.width = x;
  out.ascent = raw.ascent();
  out.height = raw.ascent() + raw.descent();
  return out;
}

// Any text, through Qt's text layout (font fallback for characters the
// font lacks).
QList<QGlyphRun> laidOutRuns(const QFont& font, const QString& text, qreal& width, qreal& ascent,
                             qreal& height) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  width = line.naturalTextWidth();
  ascent = line.ascent();
  height = line.height();
  QList<QGlyphRun> runs = layout.glyphRuns();
  for (QGlyphRun& run : runs) {
    QPointF shift(0, -ascent);  // positions measured from the line's baseline
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p += shift;
    run.setPositions(positions);
  }
  return runs;
}

}  // namespace

ShapedText TextShaper::shape(const QFont& font, const QString& text) {
  ShapedText shaped;
  shaped.font = font;
  qreal ascent = 0;
  qreal height = 0;
  if (std::optional<Run> run = directRun(fontGlyphs(font), text)) {
    shaped.runs = {run->run};
    shaped.width = run->width;
    ascent = run->ascent;
    height = run->height;
  } else {
    shaped.runs = laidOutRuns(font, text, shaped.width, ascent, height);
  }
  shaped.origin = QPointF(0, ascent - height / 2);  // baseline, from the line's middle
  shaped.lineHeight = height;
  return shaped;
}

ShapedText TextShaper::shapeSingleLine(const TextStyle& style, const QString& text, QSizeF boxSize) {
  const QRectF area = textArea(QRectF(QPointF(), boxSize));
  ShapedText shaped = shape(designFont(style), text);
  if (shaped.width > area.width() * kFitRoom) shaped = shape(fittedFont(style, text, area.size()), text);
  qreal x = area.left();
  if (style.alignment & Qt::AlignRight) x = area.right() - shaped.width;
  if (style.alignment & Qt::AlignHCenter) x = area.left() + (area.width() - shaped.width) / 2;
  shaped.origin += QPointF(x, area.center().y());
  // Whole twips: invisible on paper, and short numbers in a PDF.
  shaped.origin = QPointF(std::round(shaped.origin.x()), std::round(shaped.origin.y()));
  return shaped;
}

TextShaper::FontGlyphs& TextShaper::fontGlyphs(const QFont& font) {
  const FontKey key{font.family(), font.pixelSize(), font.weight()};
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    QRawFont raw = QRawFont::fromFont(font);
    std::vector<double> widths = advanceWidths(raw);
    it = fonts_.insert(key, FontGlyphs{std::move(raw), {}, std::move(widths)});
  }
  return *it;
}

size_t qHash(const TextShaper::FontKey& k, size_t seed) {
  return qHashMulti(seed, k.family, k.pixelSize, k.weight);
}

size_t qHash(const TextShaper::Key& k, size_t seed) {
  return qHashMulti(seed, k.family, k.sizeTwips, k.bold, k.alignment, k.width, k.height, k.text);
}

QFont designFont(const TextStyle& style) {
  QFont font(style.family);
  font.setPixelSize(style.sizeTwips);
  font.setBold(style.bold);
  // The font's own advances (unhinted), as a PDF's widths give them, so
  // that measuring and setting agree with every device. No shaping: the
  // texts are Latin and unkerned.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

int textFlags(const TextStyle& style) {
  const Qt::Alignment vertical = style.multiLine ? Qt::AlignTop : Qt::AlignVCenter;
  const int wrap = style.multiLine ? Qt::TextWordWrap : Qt::TextSingleLine;
  return static_cast<int>(style.alignment | vertical) | wrap;
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
  int size = style.sizeTwips;
  // A single line narrows in proportion to its size: start there.
  if (!style.multiLine) {
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > room.width()) size = std::max(1, int(size * room.width() / width));
  }
  for (; size > style.sizeTwips / 3; size = std::min(size - 1, size * 97 / 100)) {
    font.setPixelSize(size);
    if (fits(font, style, text, room)) return font;
  }
  return font;
}

const ShapedText& TextShaper::shaped(const TextStyle& style, const QString& text, QSizeF boxSize) {
  Key key{style.family,    style.sizeTwips,  style.bold, int(style.alignment),
          boxSize.width(), boxSize.height(), text};
  auto it = shapes_.constFind(key);
  if (it != shapes_.constEnd()) return *it;
  if (shapes_.size() > kMaxShapes) shapes_.clear();  // texts that change with every voucher
  return *shapes_.insert(std::move(key), shapeSingleLine(style, text, boxSize));
}

}  // namespace tarquelas::report
