// The payment voucher report (rptTarquela) of an auxiliary file. Building it
// is one quick pass over the file: an index of where each voucher begins
// and how many pages it takes. A page is laid out only when it is painted,
// one voucher at a time, and the last few are kept, so a report costs the
// same for ten vouchers and for a hundred thousand. Preview, printer and
// PDF all paint the same pages.
#pragma once

#include <QIODevice>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <optional>
#include <span>

#include "report_engine/page_set.h"
#include "report_engine/report_design.h"
#include "support/progress.h"
#include "support/status.h"

class QPagedPaintDevice;
class QPainter;

namespace tarquelas {

namespace voucher {
class VoucherIndex;
}

class VoucherReport {
 public:
  ~VoucherReport();
  VoucherReport(VoucherReport&&) noexcept;
  VoucherReport& operator=(VoucherReport&&) noexcept;

  struct BuildResult;
  // Indexes the auxiliary file at auxPath, reporting
  // Progress::Stage::LayingOutVouchers. A missing file, or one with the
  // header alone, gives a report without pages. The file stays open until
  // the report is destroyed.
  [[nodiscard]] static BuildResult build(const QString& auxPath, Progress& progress = noProgress());

  int pageCount() const;
  // Number of vouchers (0 for a file with the header alone).
  qint64 voucherCount() const;
  // Where each voucher begins, its pages and what it is known by.
  const voucher::VoucherIndex& index() const;
  // Every page, as one range (none for a report without pages).
  PageSet allPages() const;

  struct CuitPages;
  // The pages of every voucher of the consortia whose C.U.I.T.s (11 digits
  // without dashes) are given, in report order, touching ranges joined, and
  // the C.U.I.T.s that have no voucher. A file changed since the report was
  // built is an error.
  [[nodiscard]] CuitPages pagesOfCuits(std::span<const QByteArray> cuits) const;

  // The symbology of the vouchers' bar codes (Code 128 unless set).
  void setBarCodeSymbology(report::Symbology symbology);

  // A4 portrait with the report's margins.
  QPageLayout pageLayout() const;

  // Paints page index (0-based) on a painter whose device is set up for
  // pageLayout() (its paint rectangle is the full page). The scale comes
  // from the device's logical DPI, so a QImage whose dots per meter are a
  // zoom's DPI works. A page out of range, or one the file no longer holds
  // (changed or cut short since the build), paints nothing.
  void paintPage(int index, QPainter& painter) const;

  // Lets go of the pages kept laid out (they are laid out again when next
  // painted).
  void releasePages() const;

  // Paints pages first..last (0-based, inclusive) onto painter, whose device
  // is device; device.newPage() between pages. Reports Progress::Stage::PrintingPages
  // (pages done, page total) and stops with Status::cancelled() on a cancel; a
  // failed newPage() or device error is a Status error.
  [[nodiscard]] Status paintPages(QPagedPaintDevice& device, QPainter& painter, int first, int last,
                                  Progress& progress = noProgress()) const;

  // Writes every page to pdfPath atomically, fonts embedded, reporting
  // Progress::Stage::WritingPdf.
  [[nodiscard]] Status writePdf(const QString& pdfPath, Progress& progress = noProgress()) const;
  // The same with the pages given alone.
  [[nodiscard]] Status writePdf(const QString& pdfPath, const PageSet& pages,
                                Progress& progress = noProgress()) const;

  // Writes pages first..last (0-based, inclusive), copies times over, as one
  // PDF into device, which is open for writing (a print job's spool file).
  // Reports stage; a write the device does not take whole is an error.
  [[nodiscard]] Status writePdf(QIODevice& device, int first, int last, int copies, Progress::Stage stage,
                                Progress& progress = noProgress()) const;
  // The same for pages in order, the progress counted over all of them.
  [[nodiscard]] Status writePdf(QIODevice& device, const PageSet& pages, int copies, Progress::Stage stage,
                                Progress& progress = noProgress()) const;

  class Impl;

 private:
  explicit VoucherReport(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

struct VoucherReport::BuildResult {
  Status status;
  std::optional<VoucherReport> report;
};

struct VoucherReport::CuitPages {
  Status status;
  PageSet pages;
  QList<QByteArray> missing;  // in the order asked
};

}  // namespace tarquelas
