// A TrueType font cut down to the glyphs a document uses, for embedding in
// a PDF. Glyph numbers stay as they are (the glyphs left out become empty),
// so text written with the font's own glyph numbers shows the same glyphs.
#pragma once

#include <QByteArray>
#include <QRawFont>
#include <vector>

namespace tarquelas::report {

// The font file of font holding only glyphs (and the pieces composite glyphs
// are made of, and glyph 0), with the tables a PDF viewer needs to draw
// them. Empty when the font has no TrueType outlines.
QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs);

}  // namespace tarquelas::report
