#include "voucher_report/voucher_report.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <vector>

#include "voucher_report/page_painter.h"
#include "voucher_report/rpt_tarquela.h"
#include "voucher_report/tarquela_design.h"

using namespace Qt::StringLiterals;

namespace tarquelas {

namespace {

// Counts pages and lets them go: the first pass keeps nothing.
class PageCounter final : public report::PageSink {
 public:
  bool takePage(report::Page&&) override {
    ++pages;
    return true;
  }
  int pages = 0;
};

// Paints each page into the PDF as soon as it is laid out, so memory does
// not grow with the number of vouchers.
class PdfPageSink final : public report::PageSink {
 public:
  PdfPageSink(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {}
  bool takePage(report::Page&& page) override {
    if (pages_++ > 0 && !writer_.newPage()) return false;
    report::paintReportPage(page, painter_, shaper_);
    return true;
  }

 private:
  QPdfWriter& writer_;
  QPainter& painter_;
  report::TextShaper shaper_;
  int pages_ = 0;
};

QString writeError(const QString& path, const QString& reason) {
  return fileErrorDescription(u"escribir"_s, QFileInfo(path).absoluteFilePath(), reason);
}

}  // namespace

class VoucherReport::Impl {
 public:
  explicit Impl(QString path) : auxPath(std::move(path)) {}

  // The preview's page model, laid out on first use.
  const std::vector<report::Page>& pages() const {
    if (!model) {
      model = std::make_unique<voucher::RptTarquela>(auxPath);
      report::PageCollector collector;
      (void)model->run(collector, noProgress());
      laidOut = std::move(collector.pages);
    }
    return laidOut;
  }

  QString auxPath;
  int pageCount = 0;
  mutable std::unique_ptr<voucher::RptTarquela> model;  // owns the controls the pages point at
  mutable std::vector<report::Page> laidOut;
  mutable report::TextShaper shaper;
};

VoucherReport::VoucherReport(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VoucherReport::~VoucherReport() = default;
VoucherReport::VoucherReport(VoucherReport&&) noexcept = default;
VoucherReport& VoucherReport::operator=(VoucherReport&&) noexcept = default;

VoucherReport::BuildResult VoucherReport::build(const QString& auxPath, Progress& progress) {
  voucher::RptTarquela report(auxPath);
  if (!report.status().isOk()) return {report.status(), std::nullopt};
  PageCounter counter;
  const Status status = report.run(counter, progress);
  if (!status.isOk()) return {status, std::nullopt};
  auto impl = std::make_unique<Impl>(auxPath);
  impl->pageCount = counter.pages;
  return {Status::ok(), VoucherReport(std::move(impl))};
}

int VoucherReport::pageCount() const { return impl_->pageCount; }

QPageLayout VoucherReport::pageLayout() const {
  const report::PageSettings page = voucher::voucherPage();
  const double perPoint = report::kTwipsPerPoint;
  return QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(page.left / perPoint, page.top / perPoint, page.right / perPoint, page.bottom / perPoint),
      QPageLayout::Point);
}

void VoucherReport::paintPage(int index, QPainter& painter) const {
  const std::vector<report::Page>& pages = impl_->pages();
  if (index < 0 || index >= static_cast<int>(pages.size())) return;
  report::paintReportPage(pages[static_cast<std::size_t>(index)], painter, impl_->shaper);
}

Status VoucherReport::writePdf(const QString& pdfPath, Progress& progress) const {
  voucher::RptTarquela report(impl_->auxPath);
  if (!report.status().isOk()) return report.status();
  // The new file is renamed over the old one: something that is not a plain
  // file (a device, a pipe) must not be replaced by it.
  const QFileInfo target(pdfPath);
  if (target.exists() && !target.isFile())
    return Status::error(writeError(pdfPath, u"no es un archivo com\u00fan"_s));
  QSaveFile file(pdfPath);
  if (!file.open(QIODevice::WriteOnly)) return Status::error(writeError(pdfPath, file.errorString()));
  Status status;
  {
    QPdfWriter writer(&file);
    QPageLayout layout = pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    writer.setPageLayout(layout);
    writer.setResolution(1200);
    writer.setCreator(u"Tarquelas"_s);
    writer.setTitle(u"Tarquelas"_s);
    QPainter painter;
    if (!painter.begin(&writer)) {
      file.cancelWriting();
      return Status::error(writeError(pdfPath, file.errorString()));
    }
    PdfPageSink sink(writer, painter);
    status = report.run(sink, progress);
    painter.end();
  }
  if (!status.isOk()) {
    file.cancelWriting();
    return status;
  }
  if (!file.commit()) return Status::error(writeError(pdfPath, file.errorString()));
  return Status::ok();
}

}  // namespace tarquelas
