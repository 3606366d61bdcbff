// Paints laid-out pages with QPainter in twips, on any device: screen,
// printer, PDF.
#pragma once

#include "report_engine/report_design.h"
#include "report_engine/report_engine.h"
#include "report_engine/text_fit.h"

class QColor;
class QGlyphRun;
class QPainter;

namespace tarquelas::report {

// Pen widths of the borders and lines, in twips.
inline constexpr int kThinLine = 10;
inline constexpr int kThickLine = 30;

// How the glyphs of a page's single-line texts reach the device, gathered
// by font and colour: by default QPainter::drawGlyphRun. A device whose
// paint engine must be handed the glyphs themselves (a PDF writer, which
// keeps them as text) comes with its own.
class GlyphRunDrawer {
 public:
  virtual ~GlyphRunDrawer() = default;
  virtual void draw(QPainter& painter, const QGlyphRun& run, const QColor& color) const;
};

// Paints page on painter. The painter's coordinates are the device's pixels
// from the paper's top-left corner (or, on a paged device in standard mode,
// from the corner of its margins); the scale comes from the device's DPI.
// shaper keeps shaped texts from page to page.
void paintReportPage(const Page& page, QPainter& painter, TextShaper& shaper,
                     const GlyphRunDrawer& glyphs = GlyphRunDrawer());

}  // namespace tarquelas::report
