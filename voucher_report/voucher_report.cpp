#include "voucher_report/voucher_report.h"

#include <QColor>
#include <QFileInfo>
#include <QGlyphRun>
#include <QMarginsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <limits>
#include <type_traits>

#include "declarations/voucher_layout.h"
#include "pdf/pdf_writer.h"
#include "report_engine/page_painter.h"
#include "support/cp1252.h"
#include "support/system_reason.h"
#include "support/text_file.h"
#include "voucher_report/rpt_tarquela.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_index.h"

using namespace Qt::StringLiterals;

namespace tarquelas {

namespace {

// The vouchers' texts stay text in the program's own PDF, which must be
// handed their glyphs; on any other device they go through QPainter.
class VoucherGlyphs final : public report::GlyphRunDrawer {
 public:
  void draw(QPainter& painter, const QGlyphRun& run, const QColor& color) const override {
    if (!report::PdfWriter::drawGlyphRun(painter, run, color)) GlyphRunDrawer::draw(painter, run, color);
  }
};
const VoucherGlyphs kVoucherGlyphs;

// Pages kept for the preview's next and previous page and for printing in
// order; a voucher is laid out again only when its pages have gone.
constexpr std::size_t kKeptPages = 24;
// Of a voucher of many pages, the pages laid out around the one wanted.
constexpr qint64 kPagesBefore = 4;
constexpr qint64 kPagesAfter = 11;

struct KeptPage {
  qint64 number;
  report::Page page;
};

// Keeps the pages of one voucher from from to to (counted within the
// voucher) and stops the layout after them.
class PageWindow final : public report::PageSink {
 public:
  PageWindow(qint64 firstPage, qint64 from, qint64 to, std::deque<KeptPage>& kept)
      : firstPage_(firstPage), from_(from), to_(to), kept_(kept) {}
  bool takePage(report::Page&& page) override {
    const qint64 at = next_++;
    if (at >= from_) kept_.push_back({firstPage_ + at, std::move(page)});
    return at < to_;
  }

 private:
  qint64 firstPage_, from_, to_, next_ = 0;
  std::deque<KeptPage>& kept_;
};

// Hands the PDF on to its file whole or not at all: a file that takes only
// part of a write (a full disk) makes the write fail, where the file alone
// would call it done and the PDF would end cut short.
class WholeWrites final : public QIODevice {
 public:
  explicit WholeWrites(QIODevice& file) : file_(file) { open(QIODevice::WriteOnly); }
  bool isSequential() const override { return true; }
  bool failed() const { return failed_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 length) override {
    for (qint64 done = 0; done < length;) {
      const qint64 written = file_.write(data + done, length - done);
      if (written <= 0) {
        failed_ = true;
        return -1;
      }
      done += written;
    }
    return length;
  }

 private:
  QIODevice& file_;
  bool failed_ = false;
};

// What a PDF of the vouchers says about itself: the presenting entity and
// the period of the header record, the presentation it comes from.
report::PdfMetadata metadataOf(const voucher::VoucherIndex& index) {
  const QByteArrayView header = index.header();
  QStringList title;
  if (const QString entity = fromCp1252(voucher::header::entityName.trimmedIn(header)); !entity.isEmpty())
    title << entity;
  title << u"Periodo "_s + fromCp1252(voucher::header::periodMonth.in(header)) + u'/' +
               fromCp1252(voucher::header::periodYear.in(header));
  QString subject = u"Comprobantes de pago"_s;
  if (const QString id = fromCp1252(voucher::header::presentationId.trimmedIn(header)); !id.isEmpty())
    subject += u" de la presentaci\u00f3n "_s + id;
  return {title.join(u" \u2013 "_s),
          subject,
          u"Tarquelas"_s,
          u"Tarquelas "_s + QLatin1StringView(TARQUELAS_VERSION),
          {}};
}

QString writeError(const QString& path, const QString& reason) {
  return fileErrorDescription(u"escribir"_s, QFileInfo(path).absoluteFilePath(), reason);
}

}  // namespace

class VoucherReport::Impl {
 public:
  explicit Impl(voucher::VoucherIndex built) : index(std::move(built)), layout(index) {}

  // Page number laid out, or null when the file no longer gives it (status
  // then holds the read error, if there was one). The page stays valid
  // until the next call.
  const report::Page* page(qint64 number, Status& status) {
    if (const report::Page* page = kept(number)) return page;
    const qint64 v = index.voucherOfPage(number);
    if (v < 0) return nullptr;
    const qint64 first = index.voucher(v).firstPage, pages = index.pagesOf(v), wanted = number - first;
    std::erase_if(keptPages,
                  [&](const KeptPage& k) { return k.number >= first && k.number < first + pages; });
    PageWindow window(first, std::max<qint64>(wanted - kPagesBefore, 0),
                      std::min(wanted + kPagesAfter, pages - 1), keptPages);
    status = layout.run(v, v, window);
    if (status.isCancelled()) status = Status::ok();  // the window stopped it
    while (keptPages.size() > kKeptPages) keptPages.pop_front();
    return kept(number);
  }

  const report::Page* kept(qint64 number) const {
    for (const KeptPage& k : keptPages)
      if (k.number == number) return &k.page;
    return nullptr;
  }

  // Paints pages onto device (a QPagedPaintDevice or the PDF writer),
  // reporting stage over all of them. A PDF numbers its pages as the report
  // does and, with outline, lists each voucher in its outline (a voucher cut
  // by the start of a range under its own title).
  template <typename Device>
  Status paintPages(Device& device, QPainter& painter, const PageSet& pages, Progress::Stage stage,
                    Progress& progress, bool outline = false) {
    for (const PageRange& range : pages)
      if (range.first < 0 || range.last >= pageCount() || range.count() == 0)
        return outOfRange(range.first, range.last);
    report::TextShaper pageShaper;
    const int total = tarquelas::pageCount(pages);
    int done = 0;
    for (const PageRange& range : pages) {
      std::vector<QString> cutVoucher = outline ? bookmarksBefore(range.first) : std::vector<QString>();
      for (int number = range.first; number <= range.last; ++number) {
        if ((done > 0 && !device.newPage()) || !painter.isActive()) return refused(number);
        Status status;
        const report::Page* laidOut = page(number, status);
        if (!laidOut) return status.isOk() ? changedFile() : status;
        if constexpr (std::is_same_v<Device, report::PdfWriter>) {
          if (number == range.first) device.setPageNumber(range.first + 1);
          if (outline) {
            for (const QString& title : cutVoucher) device.addOutlineEntry(title);
            for (const QString& title : laidOut->bookmarks) device.addOutlineEntry(title);
            cutVoucher.clear();
          }
        }
        report::paintReportPage(*laidOut, painter, pageShaper, kVoucherGlyphs);
        if (!progress.report(stage, ++done, total)) return Status::cancelled();
      }
    }
    return Status::ok();
  }

  // The bookmarks of the voucher that page continues, when it begins on an
  // earlier page: a range that starts inside a voucher still lists it.
  std::vector<QString> bookmarksBefore(qint64 number) {
    const qint64 v = index.voucherOfPage(number);
    if (v < 0 || index.voucher(v).firstPage == number) return {};
    Status status;
    const report::Page* head = page(index.voucher(v).firstPage, status);
    return head ? head->bookmarks : std::vector<QString>();
  }

  int pageCount() const { return int(std::min<qint64>(index.pageCount(), std::numeric_limits<int>::max())); }

  Status outOfRange(int first, int last) const {
    return Status::error(
        u"Las p\u00e1ginas %1 a %2 no est\u00e1n en el informe, que tiene %3."_s.arg(first + 1)
            .arg(last + 1)
            .arg(pageCount()));
  }

  static Status refused(int number) {
    return Status::error(
        u"El dispositivo de impresi\u00f3n no acept\u00f3 la p\u00e1gina %1."_s.arg(number + 1));
  }

  Status changedFile() const {
    return Status::error(fileErrorDescription(u"leer"_s, QFileInfo(index.path()).absoluteFilePath(),
                                              u"cambi\u00f3 desde que se armaron los comprobantes"_s));
  }

  voucher::VoucherIndex index;
  voucher::RptTarquela layout;  // owns the controls the kept pages point at
  std::deque<KeptPage> keptPages;
  report::TextShaper shaper;
};

VoucherReport::VoucherReport(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VoucherReport::~VoucherReport() = default;
VoucherReport::VoucherReport(VoucherReport&&) noexcept = default;
VoucherReport& VoucherReport::operator=(VoucherReport&&) noexcept = default;

VoucherReport::BuildResult VoucherReport::build(const QString& auxPath, Progress& progress) {
  voucher::IndexResult indexed = voucher::VoucherIndex::build(auxPath, progress);
  if (!indexed.status.isOk()) return {indexed.status, std::nullopt};
  auto impl = std::make_unique<Impl>(std::move(*indexed.index));
  if (!impl->layout.status().isOk()) return {impl->layout.status(), std::nullopt};
  return {Status::ok(), VoucherReport(std::move(impl))};
}

int VoucherReport::pageCount() const { return impl_->pageCount(); }

qint64 VoucherReport::voucherCount() const { return impl_->index.voucherCount(); }

const voucher::VoucherIndex& VoucherReport::index() const { return impl_->index; }

PageSet VoucherReport::allPages() const {
  if (pageCount() == 0) return {};
  return {PageRange{0, pageCount() - 1}};
}

VoucherReport::CuitPages VoucherReport::pagesOfCuits(std::span<const QByteArray> cuits) const {
  const voucher::VoucherIndex& index = impl_->index;
  if (index.fileChanged()) return {impl_->changedFile(), {}, {}};
  CuitPages found{Status::ok(), index.pagesOfVouchers(index.vouchersOfCuits(cuits)), {}};
  for (const QByteArray& cuit : cuits)
    if (index.vouchersOfCuits(std::span(&cuit, 1)).empty()) found.missing.append(cuit);
  return found;
}

void VoucherReport::setBarCodeSymbology(report::Symbology symbology) {
  for (report::Section* section : impl_->layout.design().sections())
    for (report::Control& control : section->controls)
      if (control.kind == report::ControlKind::BarCode) control.symbology = symbology;
}

QPageLayout VoucherReport::pageLayout() const {
  const report::PageSettings page = voucher::voucherPage();
  const double perPoint = report::kTwipsPerPoint;
  return QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(page.left / perPoint, page.top / perPoint, page.right / perPoint, page.bottom / perPoint),
      QPageLayout::Point);
}

void VoucherReport::paintPage(int index, QPainter& painter) const {
  Status status;
  if (const report::Page* page = impl_->page(index, status))
    report::paintReportPage(*page, painter, impl_->shaper, kVoucherGlyphs);
}

void VoucherReport::releasePages() const { std::deque<KeptPage>().swap(impl_->keptPages); }

Status VoucherReport::paintPages(QPagedPaintDevice& device, QPainter& painter, int first, int last,
                                 Progress& progress) const {
  if (first > last) return impl_->outOfRange(first, last);
  return impl_->paintPages(device, painter, PageSet{{first, last}}, Progress::Stage::PrintingPages, progress);
}

Status VoucherReport::writePdf(const QString& pdfPath, Progress& progress) const {
  return writePdf(pdfPath, allPages(), progress);
}

Status VoucherReport::writePdf(const QString& pdfPath, const PageSet& pages, Progress& progress) const {
  // The new file is renamed over the old one: something that is not a plain
  // file (a device, a pipe) must not be replaced by it.
  if (Status plain = checkReplaceable(QFileInfo(pdfPath).absoluteFilePath()); !plain.isOk()) return plain;
  QSaveFile file(pdfPath);
  if (!file.open(QIODevice::WriteOnly)) return Status::error(writeError(pdfPath, fileReason(file)));
  Status status = writePdf(file, pages, 1, Progress::Stage::WritingPdf, progress);
  if (!status.isOk()) {
    file.cancelWriting();
    return status;
  }
  if (!file.commit()) return Status::error(writeError(pdfPath, fileReason(file)));
  return Status::ok();
}

Status VoucherReport::writePdf(QIODevice& device, int first, int last, int copies, Progress::Stage stage,
                               Progress& progress) const {
  if (first > last) return writePdf(device, PageSet{}, copies, stage, progress);
  return writePdf(device, PageSet{{first, last}}, copies, stage, progress);
}

Status VoucherReport::writePdf(QIODevice& device, const PageSet& pages, int copies, Progress::Stage stage,
                               Progress& progress) const {
  const auto failed = [&device] {
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return Status::error(
        writeError(file ? file->fileName() : QString(), file ? fileReason(*file) : device.errorString()));
  };
  Status status;
  WholeWrites whole(device);
  {
    report::PdfWriter writer(&whole);
    QPageLayout layout = pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    writer.setPageLayout(layout);
    writer.setResolution(1200);
    writer.setMetadata(metadataOf(impl_->index));
    QPainter painter;
    if (!painter.begin(&writer)) return failed();
    // A report without pages still makes a valid, empty document.
    for (int copy = 0; copy < copies && status.isOk() && !pages.empty(); ++copy) {
      if (copy > 0 && !writer.newPage()) status = Impl::refused(pages.front().first);
      if (status.isOk()) status = impl_->paintPages(writer, painter, pages, stage, progress, copy == 0);
    }
    painter.end();
  }
  if (status.isOk() && whole.failed()) status = Status::error(QString());
  if (status.isError() && whole.failed()) return failed();
  return status;
}

}  // namespace tarquelas
