// The voucher report over a fuzzed auxiliary file: VoucherReport::build
// reads and lays it out, then its first and last pages are painted on a
// small image (texts, pictures and the bar code of fuzzed digits). A file of
// a header and detail records gives one page per run of detail records with
// the same C.U.I.T. and form code.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "fuzz/fuzz_support.h"
#include "support/fields.h"
#include "voucher_report/voucher_report.h"

namespace tarquelas::fuzz {
namespace {

// Vouchers of a file whose lines after the first are all detail records,
// or nothing for any other file.
std::optional<qsizetype> expectedVouchers(const QList<QByteArray>& lines) {
  if (lines.isEmpty()) return 0;
  qsizetype vouchers = 0;
  QByteArray previous;
  for (const QByteArray& line : lines.sliced(1)) {
    if (line.size() != 549) return std::nullopt;
    const QByteArray key = Field{14, 16}.in(line).toByteArray();  // C.U.I.T. and form code
    if (vouchers == 0 || key != previous) ++vouchers;
    previous = key;
  }
  return vouchers;
}

void paint(const VoucherReport& report, int page) {
  constexpr int kDpi = 24;
  QImage image(qRound(11906.0 * kDpi / 1440), qRound(16838.0 * kDpi / 1440), QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(kDpi / 0.0254));
  image.setDotsPerMeterY(qRound(kDpi / 0.0254));
  image.fill(Qt::white);
  QPainter painter(&image);
  report.paintPage(page, painter);
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz_voucher_report";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends, as the program's own does.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas;
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  const QString aux = scratchPath("TarquelasAux.txt");
  writeFile(aux, input);
  VoucherReport::BuildResult built = VoucherReport::build(aux);
  FUZZ_CHECK(built.status.isOk() && built.report.has_value());
  const VoucherReport& report = *built.report;
  FUZZ_CHECK(report.pageCount() >= 0);
  if (const auto vouchers = expectedVouchers(referenceLines(input))) {
    FUZZ_CHECK(report.pageCount() == *vouchers);
  }
  if (report.pageCount() > 0) {
    paint(report, 0);
    paint(report, report.pageCount() - 1);
  }
  return 0;
}
