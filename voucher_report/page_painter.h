// Paints laid-out pages with QPainter in twips, on any device: screen,
// printer, PDF.
#pragma once

#include "voucher_report/report_design.h"
#include "voucher_report/report_engine.h"
#include "voucher_report/text_fit.h"

class QPainter;

namespace tarquelas::report {

// Pen widths of the borders and lines, in twips.
inline constexpr int kThinLine = 10;
inline constexpr int kThickLine = 30;

// Paints page on painter. The painter's coordinates are the device's pixels
// from the paper's top-left corner (or, on a paged device in standard mode,
// from the corner of its margins); the scale comes from the device's DPI.
// shaper keeps shaped texts from page to page.
void paintReportPage(const Page& page, QPainter& painter, TextShaper& shaper);

}  // namespace tarquelas::report
