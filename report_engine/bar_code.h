// Bar codes as vectors: the bars of a value, as rectangles inside a box,
// from libzint's vector output, with no human-readable text. Code 128
// carries the characters exactly as they stand (digit pairs in its set C),
// with its own check character. Interleaved 2 of 5 carries digits in pairs,
// without a check digit: an odd count gets a leading 0, so 59 digits read
// back as 60.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

#include "report_engine/report_design.h"

namespace tarquelas::report {

// Quiet zone kept clear on each side, inside the box, in module widths.
inline constexpr int kQuietModules = 10;

struct BarCodeBars {
  std::vector<QRectF> bars;  // in the box's coordinates, left to right
  double moduleWidth = 0;    // narrowest bar, same unit
  int modules = 0;           // the symbol's width in modules
};

// The bars of value centred in box, the module as wide as the box allows
// with the quiet zones on either side, made a whole number of device units
// (deviceUnit: one device pixel in the box's unit) when that is at least
// one; or no bars when the value cannot be encoded in symbology (an empty
// value, a character outside printable ASCII, for Interleaved 2 of 5 one
// that is not a digit).
BarCodeBars barCodeBars(Symbology symbology, const QString& value, const QRectF& box, double deviceUnit = 1);

}  // namespace tarquelas::report
