// The payment voucher report (rptTarquela): reads the auxiliary file,
// groups its lines into one voucher per consortium and form, and lays the
// vouchers out once into A4 pages. Preview, printer and PDF all paint the
// same pages through paintPage().
#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>
#include <optional>

#include "support/progress.h"
#include "support/status.h"

class QPainter;

namespace tarquelas {

class VoucherReport {
 public:
  ~VoucherReport();
  VoucherReport(VoucherReport&&) noexcept;
  VoucherReport& operator=(VoucherReport&&) noexcept;

  struct BuildResult;
  // Lays out the report of the auxiliary file at auxPath. A file with the
  // header alone gives a report without pages.
  [[nodiscard]] static BuildResult build(const QString& auxPath, Progress& progress = noProgress());

  int pageCount() const;
  // A4 portrait with the report's margins.
  QPageLayout pageLayout() const;
  // Paints page index (0-based) on a painter whose device is set up for
  // pageLayout() (its paint rectangle is the full page).
  void paintPage(int index, QPainter& painter) const;

  // Writes every page to pdfPath atomically, fonts embedded.
  [[nodiscard]] Status writePdf(const QString& pdfPath, Progress& progress = noProgress()) const;

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
