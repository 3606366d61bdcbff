// Writes the voucher PDF of an auxiliary file and prints pages, seconds,
// pages per second and peak memory.
//   vouchers_bench make-aux N OUT.txt    header + N vouchers of two concepts
//   vouchers_bench pdf AUX.txt OUT.pdf        (the program's PDF, as the batch writes it)
//   vouchers_bench qt-pdf AUX.txt OUT.pdf     (the same pages through Qt's PDF engine,
//                                              the one QPrinter prints through)
//   vouchers_bench png AUX.txt PAGE OUT.png   (paints one page as the preview does)
//   vouchers_bench preview AUX.txt   (index time, then the last, first and next
//                                     pages painted at 100 %, as the preview does)
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <clocale>
#include <cstdio>
#include <functional>

#include "report_engine/fonts.h"
#include "voucher_report/voucher_report.h"

namespace {

QByteArray field(QByteArray value, int length) { return value.leftJustified(length, ' ', true); }

QByteArray detailLine(int voucher, int line) {
  QByteArray l;
  l += "000001";
  l += QByteArray::number(voucher).rightJustified(7, '0');
  l += "30" + QByteArray::number(10000000 + voucher) + "5";  // C.U.I.T. (the report only groups on it)
  l += "F0101";
  l += field("INSTITUTO DE SERVICIOS SOCIALES", 80);
  l += field("CONSORCIO EDIFICIO NUMERO " + QByteArray::number(voucher), 80);
  l += "01";
  l += QByteArray::number(voucher).rightJustified(10, '0');
  l += "004";
  l += "00123456"
       "00000000"
       "00123456"
       "20260415";
  l += QByteArray::number(voucher).rightJustified(59, '7');
  l += field(line == 0 ? "CONTRIBUCION MENSUAL" : "FONDO DE CAPACITACION", 30);
  l += "00061728"
       "00000000"
       "00061728";
  l += field("", 200);
  return l;
}

int makeAux(int vouchers, const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return 1;
  QByteArray header = field("C0001234CAMARA DE PRUEBA", 108) + "032026" + "0000000001" + "20260410";
  f.write(header + "\r\n");
  for (int v = 0; v < vouchers; ++v)
    for (int c = 0; c < 2; ++c) f.write(detailLine(v, c) + "\r\n");
  return 0;
}

long peakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Processor time used so far: on a shared machine the fair measure.
double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Pages, wall and processor seconds since the start, pages per second of
// each, and peak memory, on one line.
void printFigures(int pages, const QElapsedTimer& timer, double cpuStart) {
  const double seconds = timer.elapsed() / 1000.0;
  const double cpu = cpuSeconds() - cpuStart;
  std::printf("pages %d wall_s %.2f cpu_s %.2f pages_per_cpu_s %.0f pages_per_wall_s %.0f peak_rss_kb %ld\n",
              pages, seconds, cpu, pages / cpu, pages / seconds, peakKb());
}

int failed(const tarquelas::Status& s) {
  std::fprintf(stderr, "%s\n", qPrintable(s.description()));
  return 1;
}

// Builds the report and writes it out one way, then prints the figures of
// both steps together.
int timedWrite(const QString& aux,
               const std::function<tarquelas::Status(const tarquelas::VoucherReport&)>& write) {
  QElapsedTimer timer;
  timer.start();
  const double cpuStart = cpuSeconds();
  auto built = tarquelas::VoucherReport::build(aux);
  if (!built.report) return failed(built.status);
  const tarquelas::Status s = write(*built.report);
  if (!s.isOk()) return failed(s);
  printFigures(built.report->pageCount(), timer, cpuStart);
  return 0;
}

// The same pages through Qt's own PDF writer, for comparison.
tarquelas::Status writeQtPdf(const tarquelas::VoucherReport& report, const QString& pdf) {
  QFile file(pdf);
  if (!file.open(QIODevice::WriteOnly))
    return tarquelas::Status::error(pdf + QLatin1String(": ") + file.errorString());
  if (report.pageCount() == 0) return tarquelas::Status::error(QStringLiteral("no pages"));
  QPdfWriter writer(&file);
  QPageLayout layout = report.pageLayout();
  layout.setMode(QPageLayout::FullPageMode);
  writer.setPageLayout(layout);
  writer.setResolution(1200);
  QPainter painter(&writer);
  return report.paintPages(writer, painter, 0, report.pageCount() - 1);
}

int paintPng(const QString& aux, int page, const QString& png) {
  auto built = tarquelas::VoucherReport::build(aux);
  if (!built.report) return 1;
  QImage image(827, 1170, QImage::Format_RGB32);  // A4 at 100 dpi
  image.setDotsPerMeterX(3937);
  image.setDotsPerMeterY(3937);
  image.fill(Qt::white);
  QPainter painter(&image);
  built.report->paintPage(page, painter);
  painter.end();
  return image.save(png) ? 0 : 1;
}

// Builds the report (its index of the file) and paints pages on an A4
// image at 96 dpi, printing the time each step takes.
int preview(const QString& aux) {
  QElapsedTimer timer;
  timer.start();
  auto built = tarquelas::VoucherReport::build(aux);
  if (!built.report) return 1;
  const double indexMs = timer.nsecsElapsed() / 1e6;
  const tarquelas::VoucherReport& report = *built.report;
  QImage image(794, 1123, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  const auto paintMs = [&](int page) {
    image.fill(Qt::white);
    timer.restart();
    QPainter painter(&image);
    report.paintPage(page, painter);
    painter.end();
    return timer.nsecsElapsed() / 1e6;
  };
  const int last = report.pageCount() - 1;
  const double lastMs = paintMs(last), firstMs = paintMs(0), nextMs = paintMs(1), againMs = paintMs(1);
  std::printf(
      "vouchers %lld pages %d index_ms %.0f last_page_ms %.1f first_page_ms %.1f next_page_ms %.1f "
      "same_page_again_ms %.1f peak_rss_kb %ld\n",
      static_cast<long long>(report.voucherCount()), report.pageCount(), indexMs, lastMs, firstMs, nextMs,
      againMs, peakKb());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // figures with a point, whatever the desktop's locale
  tarquelas::registerProgramFonts();
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == QLatin1String("make-aux")) return makeAux(args[2].toInt(), args[3]);
  if (args.size() == 4 && args[1] == QLatin1String("pdf"))
    return timedWrite(args[2], [&](const auto& report) { return report.writePdf(args[3]); });
  if (args.size() == 4 && args[1] == QLatin1String("qt-pdf"))
    return timedWrite(args[2], [&](const auto& report) { return writeQtPdf(report, args[3]); });
  if (args.size() == 5 && args[1] == QLatin1String("png")) return paintPng(args[2], args[3].toInt(), args[4]);
  if (args.size() == 3 && args[1] == QLatin1String("preview")) return preview(args[2]);
  std::fprintf(stderr,
               "usage: vouchers_bench make-aux N OUT | pdf AUX PDF | qt-pdf AUX PDF | png AUX PAGE PNG | "
               "preview AUX\n");
  return 2;
}
