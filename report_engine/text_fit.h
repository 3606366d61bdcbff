// Texts in boxes: the design's fonts sized in twips, the smaller size a text
// takes when it would not fit its box (a text is made smaller, never cut),
// and single-line texts turned into placed glyphs once per text and box, the
// form in which the painter draws them.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <utility>
#include <vector>

#include "report_engine/report_design.h"

namespace tarquelas::report {

// Room kept between a text and the sides of its box, in twips.
inline constexpr int kTextInset = 30;

// The design's font for style, sized in twips (pixel size in the twips
// coordinate system the pages are painted in).
QFont designFont(const TextStyle& style);

// The font text is drawn in inside a box of size: the design font, made
// smaller until the text fits the box's width (and, for multi-line texts,
// its height).
QFont fittedFont(const TextStyle& style, const QString& text, QSizeF box);

// Flags for QPainter::drawText of a text in style.
int textFlags(const TextStyle& style);

// The room a text has inside a control's box.
QRectF textArea(const QRectF& box);

// A caption's line ends (CR LF, CR or LF) made into the painter's, and the
// blanks that end its lines dropped.
QString displayText(const QString& text);

// A single-line text ready to draw: glyph runs to draw at origin, relative
// to the box's top-left corner. Blanks have no glyphs (they draw nothing).
struct ShapedText {
  QFont font;
  QPointF origin;
  qreal width = 0;
  qreal lineHeight = 0;
  QList<QGlyphRun> runs;
};

// Shapes single-line texts and keeps them for the next page: captions
// repeat on every page. Holds font data, so it must go before the
// application does; one lives with each painting of a report.
class TextShaper {
 public:
  // The text of a single-line style in a box of boxSize. The reference
  // stays valid until the next call.
  const ShapedText& shaped(const TextStyle& style, const QString& text, QSizeF boxSize);

  struct Key {
    QString family;
    int sizeTwips;
    bool bold;
    int alignment;
    qreal width;
    qreal height;
    QString text;
    bool operator==(const Key&) const = default;
  };
  struct FontKey {
    QString family;
    int pixelSize;
    int weight;
    bool operator==(const FontKey&) const = default;
  };

 private:
  static constexpr qsizetype kMaxShapes = 4000;

  // A font's glyph and advance for each character asked for so far.
  struct FontGlyphs {
    QRawFont font;
    QHash<char16_t, std::pair<quint32, qreal>> glyphs;
    std::vector<double> widths;  // the font's own advances in thousandths of an em
  };

  ShapedText shapeSingleLine(const TextStyle& style, const QString& text, QSizeF boxSize);
  ShapedText shape(const QFont& font, const QString& text);
  FontGlyphs& fontGlyphs(const QFont& font);

  // By family, pixel size and weight: the fonts designFont() and
  // fittedFont() make differ in nothing else.
  QHash<FontKey, FontGlyphs> fonts_;
  QHash<Key, ShapedText> shapes_;
};

size_t qHash(const TextShaper::Key& key, size_t seed = 0);
size_t qHash(const TextShaper::FontKey& key, size_t seed = 0);

}  // namespace tarquelas::report
