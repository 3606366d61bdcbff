// The voucher report over a fuzzed auxiliary file: built, then its first and last pages
// painted on a small image (texts, pictures, the bar code of fuzzed digits).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "fuzz/fuzz_support.h"
#include "support/fields.h"
#include "voucher_report/voucher_report.h"

namespace tarquelas::fuzz {
namespace {

// Pages of a file whose lines after the first are all detail records; nothing for any other file.
std::optional<qsizetype> expectedPages(const QList<QByteArray>& lines) {
  qsizetype pages = 0;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    if (lines[i].size() != 549) return std::nullopt;
    if (i == 1 || Field{14, 16}.in(lines[i]) != Field{14, 16}.in(lines[i - 1])) ++pages;
  }
  return pages;
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz_voucher_report";
  static char* argv[] = {name, nullptr};
  [[maybe_unused]] static auto* app = new QGuiApplication(argc, argv);  // lives until the process ends
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas;
  using namespace tarquelas::fuzz;
  const QString aux = scratchPath("TarquelasAux.txt");
  writeFile(aux, bytesOf(data, size));
  const VoucherReport::BuildResult built = VoucherReport::build(aux);
  FUZZ_CHECK(built.status.isOk() && built.report.has_value() && built.report->pageCount() >= 0);
  const int pages = built.report->pageCount();
  if (const auto expected = expectedPages(referenceLines(bytesOf(data, size))))
    FUZZ_CHECK(pages == *expected);
  QImage image(198, 281, QImage::Format_RGB32);  // an A4 page at 24 dots per inch
  image.setDotsPerMeterX(945);
  image.setDotsPerMeterY(945);
  image.fill(Qt::white);
  QPainter painter(&image);
  built.report->paintPage(0, painter);
  if (pages - 1 != 0) built.report->paintPage(pages - 1, painter);  // a single page once
  return 0;
}
