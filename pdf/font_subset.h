// Font programs for embedding in a PDF, read from the font's own tables.
// A TrueType font is cut down to the glyphs a document uses; glyph numbers
// stay as they are (the glyphs left out become empty), so text written
// with the font's own glyph numbers shows the same glyphs. An OpenType
// font with CFF outlines goes as an OpenType file, cut down the same way.
#pragma once

#include <QByteArray>
#include <QRawFont>
#include <vector>

namespace tarquelas::report {

enum class Outlines { None, TrueType, Cff };

// The kind of outlines font's file holds, as far as they can be embedded:
// None for a CID-keyed CFF font.
Outlines outlinesOf(const QRawFont& font);

// Each glyph's advance in thousandths of an em, as the font's own metrics
// (hmtx over unitsPerEm) give it, by glyph number. Empty when the font has
// no such tables.
std::vector<double> advanceWidths(const QRawFont& font);

// The font file of font holding only glyphs (and the pieces composite glyphs
// are made of, and glyph 0), with the tables a strict font reader asks for;
// its character map maps unicode[g] (0: none) to glyph g. Empty when the
// font has no TrueType outlines.
QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs,
                          const std::vector<char16_t>& unicode);

// The font as an OpenType file with CFF outlines and the tables a PDF
// reader uses, its outlines cut down to the glyphs used (used[g]) and the
// standard Latin ones accented glyphs may be built of; glyph numbers stay.
// cut tells whether it was cut down: a font whose CFF data does not read as
// expected goes whole. Empty when the font has no CFF outlines.
QByteArray openTypeCff(const QRawFont& font, const std::vector<bool>& used, bool& cut);

// A subset's tag: six capital letters from a digest of the font and of the
// glyphs used (used[g]), so that different subsets get different names.
QByteArray subsetTag(const QRawFont& font, const std::vector<bool>& used);

}  // namespace tarquelas::report
