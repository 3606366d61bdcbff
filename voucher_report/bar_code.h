// Bar codes as vectors: the bars of a value, as rectangles inside a box,
// from libzint's vector output. Interleaved 2 of 5 encodes digits as they
// stand (no check digit; an odd count gets one leading "0"); Code 128 any
// printable text.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

#include "voucher_report/report_design.h"

namespace tarquelas::report {

// Quiet zone kept clear on each side, inside the box, in narrow-bar widths.
inline constexpr int kQuietModules = 10;

struct BarCodeBars {
  std::vector<QRectF> bars;  // in the box's coordinates
  double moduleWidth = 0;    // narrow bar width, same unit
};

// The bars of value centred in box with at least the quiet zones on either
// side, the narrow bar a whole number of units when at least one, or no bars when the
// value cannot be encoded in symbology (an empty value, a non-digit in
// Interleaved 2 of 5).
BarCodeBars barCodeBars(Symbology symbology, const QString& value, const QRectF& box);

}  // namespace tarquelas::report
