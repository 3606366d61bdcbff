// The payment voucher report (rptTarquela) of an auxiliary file. Building it
// is one quick pass over the file: an index of where each voucher begins
// and how many pages it takes. A page is laid out only when it is painted,
// one voucher at a time, and the last few are kept, so a report costs the
// same for ten vouchers and for a hundred thousand. Preview, printer and
// PDF all paint the same pages.
#pragma once

#include <QIODevice>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <optional>

#include "support/progress.h"
#include "support/status.h"
#include "voucher_report/report_design.h"

class QPagedPaintDevice;
class QPainter;

namespace tarquelas {

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

  // Paints pages first..last (0-based, inclusive) onto painter, whose device
  // is device; device.newPage() between pages. Reports Progress::Stage::PrintingPages
  // (pages done, page total) and stops with Status::cancelled() on a cancel; a
  // failed newPage() or device error is a Status error.
  [[nodiscard]] Status paintPages(QPagedPaintDevice& device, QPainter& painter, int first, int last,
                                  Progress& progress = noProgress()) const;

  // Writes every page to pdfPath atomically, fonts embedded, reporting
  // Progress::Stage::WritingPdf.
  [[nodiscard]] Status writePdf(const QString& pdfPath, Progress& progress = noProgress()) const;

  // Writes pages first..last (0-based, inclusive), copies times over, as one
  // PDF into device, which is open for writing (a print job's spool file).
  // Reports stage; a write the device does not take whole is an error.
  [[nodiscard]] Status writePdf(QIODevice& device, int first, int last, int copies, Progress::Stage stage,
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

}  // namespace tarquelas
