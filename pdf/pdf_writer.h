// A paint device that writes what a QPainter draws as the pages of a PDF
// file, in the spirit of QPdfWriter, which it stands in for where the same
// pages are written by the thousand: each page is a short content stream
// (text as strings of glyphs at the fonts' own widths, rectangles as
// rectangles), compressed fast; fonts and pictures are written once.
//
// It draws solid pens and brushes, paths, rectangles, lines, polygons and
// pictures; no clipping. Whatever else QPainter asks for (gradients,
// translucency) QPainter renders to a picture first. Text drawn with
// QPainter::drawText becomes glyphs of its font; glyph runs must come
// through drawGlyphRun() below, since a paint engine is not told their
// glyphs. Fonts with TrueType outlines are embedded as subsets, OpenType
// fonts with CFF outlines as OpenType font files (unused glyphs emptied);
// text in any other font is not drawn, and the pages after it are refused
// (see unembeddableFont()). Besides the pages it writes an outline, page
// labels and the document's metadata, as it is told.
//
// It knows nothing of reports or vouchers: Qt Gui and zlib are all it
// uses.
#pragma once

#include <QPageLayout>
#include <QPaintDevice>
#include <QString>
#include <memory>

#include "pdf/pdf_metadata.h"

class QGlyphRun;
class QIODevice;
class QPainter;

namespace tarquelas::report {

class PdfWriter final : public QPaintDevice {
 public:
  // Writes to device, which must stay open until the painter has ended.
  explicit PdfWriter(QIODevice* device);
  ~PdfWriter() override;

  // The paper of the pages begun from now on; the painter's origin is the
  // paper's top-left corner, whatever the layout's mode.
  bool setPageLayout(const QPageLayout& layout);
  QPageLayout pageLayout() const { return layout_; }
  // Device pixels per inch (1200 unless set); set it before painting.
  void setResolution(int dpi);
  int resolution() const { return dpi_; }
  // What the document says about itself; set it before painting. Without a
  // date, the time the file is finished.
  void setMetadata(const PdfMetadata& metadata);

  // While painting: an entry of the document's outline that leads to the
  // page being painted, after those added before it.
  void addOutlineEntry(const QString& title);
  // While painting: the number a reader shows for the page being painted;
  // the pages after it count on from there.
  void setPageNumber(int number);

  // Ends the page being painted and begins the next. False when the file
  // could not be written or a font could not be embedded.
  bool newPage();
  // The first font whose text could not be embedded ("Family Style"),
  // empty while every one could.
  QString unembeddableFont() const;

  // Draws run in color on painter's device when it is a PdfWriter, at the
  // painter's transform. False, drawing nothing, on any other device.
  static bool drawGlyphRun(QPainter& painter, const QGlyphRun& run, const QColor& color);

  QPaintEngine* paintEngine() const override;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  class Engine;

  std::unique_ptr<Engine> engine_;
  QPageLayout layout_;
  int dpi_ = 1200;
};

}  // namespace tarquelas::report
