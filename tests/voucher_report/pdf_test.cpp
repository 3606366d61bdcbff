// The pages painted and written as PDF, checked with the tools a person would
// use: poppler (pages, text, fonts, a page as an image) and zbar (the bar
// code read back); and the PDF writing that must never lose an earlier file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <csignal>

#include "support/text_file.h"
#include "support/varias.h"
#include "voucher_fixture.h"
#include "voucher_report/voucher_report.h"

using namespace Qt::StringLiterals;

namespace tarquelas {
namespace {

using namespace testing;

bool haveTools(const QStringList& names) {
  for (const QString& name : names)
    if (QStandardPaths::findExecutable(name).isEmpty()) return false;
  return true;
}

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(program), args);
  p.waitForFinished(120000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// A report built from lines, kept with its auxiliary file's folder.
struct Built {
  explicit Built(const std::vector<QByteArray>& lines) : aux(lines) {
    VoucherReport::BuildResult result = VoucherReport::build(aux.path());
    EXPECT_TRUE(result.status.isOk()) << result.status.description().toStdString();
    report = std::move(result.report);
  }
  AuxFile aux;
  std::optional<VoucherReport> report;
};

// A PDF page at dpi as a grey image, from fromTwips down from its top.
QImage rasterise(const QString& pdf, int page, int dpi, int fromTwips = 0) {
  const QString prefix = pdf + u"-page"_s;
  const int y = fromTwips * dpi / 1440, height = (16838 - fromTwips) * dpi / 1440;
  run(u"pdftoppm"_s,
      {u"-r"_s, QString::number(dpi), u"-gray"_s, u"-f"_s, QString::number(page), u"-l"_s,
       QString::number(page), u"-y"_s, QString::number(y), u"-H"_s, QString::number(height), u"-W"_s,
       QString::number(11906 * dpi / 1440), u"-png"_s, u"-singlefile"_s, pdf, prefix});
  return QImage(prefix + u".png"_s);
}

TEST(PdfTest, SampleGivesAPagePerVoucherWithItsTextsEmbeddedFontsAndReadableBarCodes) {
  if (!haveTools({u"pdfinfo"_s, u"pdftotext"_s, u"pdffonts"_s, u"pdftoppm"_s, u"zbarimg"_s}))
    GTEST_SKIP() << "poppler-utils or zbar-tools not installed";
  // The good lines of the sample, as the validator copies them; each
  // voucher's bar code is its last record's.
  std::vector<QByteArray> lines;
  for (const QByteArray& raw :
       readAllLines(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt")).lines) {
    const QByteArray line = decodificarUTF8(raw);
    if (line.size() == voucher::kHeaderLength || line.size() == voucher::kDetailLength) lines.push_back(line);
  }
  ASSERT_GT(lines.size(), 2u) << "samples/vouchers.txt missing";
  Detail absurd;  // numbers no printf should write out: they print as their own text
  absurd.cuit = "20000000011";
  std::tie(absurd.conceptsTotal, absurd.payments, absurd.totalToPay, absurd.voucherNumber, absurd.workers) =
      std::tuple("-1e30000", "1e999", "NaN", "1e300", "9e9");
  lines.push_back(absurd.line());
  Detail longList;  // a last voucher whose workers' list wraps to a second line
  longList.form = "F0808";
  longList.cuit = "20000000011";
  longList.observations = "Trabajadores: ";
  for (int i = 0; i < 14; ++i) longList.observations += "2012345678" + QByteArray::number(i % 10) + " - ";
  longList.observations.truncate(200);
  lines.push_back(longList.line());
  std::vector<QByteArray> keys, barCodes;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QByteArray key = (voucher::detail::cuit.in(lines[i]).toByteArray() +
                            voucher::detail::formCode.in(lines[i]).toByteArray());
    if (keys.empty() || keys.back() != key) keys.push_back(key), barCodes.emplace_back();
    barCodes.back() = voucher::detail::barCode.in(lines[i]).toByteArray();
  }
  Built built(lines);
  ASSERT_TRUE(built.report.has_value());
  const QString pdf = built.aux.file(u"vouchers.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(pdf).isOk());

  const QString info = run(u"pdfinfo"_s, {pdf});
  EXPECT_EQ(QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info).captured(1).toInt(), int(keys.size()))
      << info.toStdString();
  EXPECT_EQ(built.report->pageCount(), int(keys.size()));
  EXPECT_TRUE(info.contains(u"A4"_s)) << info.toStdString();

  const QString text = run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
  const QString cuit = QString::fromLatin1(formatearCUIT(voucher::detail::cuit.in(lines[1])));
  for (const QString& expected :
       {u"CUIT: "_s + cuit, u"PERIODO: "_s, u"TOTAL A PAGAR:"_s, u"Tal\u00f3n para el contribuyente"_s,
        u"Tal\u00f3n para el ente recaudador"_s, u"C\u00f3digo de barras: "_s, u"NO ABONAR EN VENTANILLA."_s,
        u"Lugares habilitados para el pago:"_s, u"CONCEPTO"_s})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
  for (const QString& expected : {u"-1e30000"_s, u"1e999"_s, u"TOTAL A PAGAR: NaN"_s, u"TARQUELA: 1e300"_s,
                                  u"TRABAJADORES: 9000000000"_s})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
  const QRegularExpression formatted(u"\\d[eE][+-]\\d|\\binf\\b|\\bnan\\b"_s);
  EXPECT_FALSE(text.contains(formatted)) << text.toStdString();
  // every whole number of the wrapped list, the last on the second line
  const QString lastPage =
      run(u"pdftotext"_s, {u"-f"_s, QString::number(keys.size()), pdf, u"-"_s}).simplified();
  for (const QString& expected : {u"CUILES: 20123456780"_s, u"20123456781"_s, u"20123456782"_s})
    EXPECT_TRUE(lastPage.contains(expected)) << lastPage.toStdString();

  const QStringList fonts = run(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(fonts.isEmpty());
  for (const QString& row : fonts) {
    const QStringList cols = row.simplified().split(u' ');
    ASSERT_GE(cols.size(), 5);
    EXPECT_EQ(cols[cols.size() - 5], u"yes") << row.toStdString();  // emb
  }

  // Every voucher's bar code reads back as Code 128 with exactly its 59
  // digits; a voucher without one shows the notices instead.
  for (std::size_t i = 0; i < barCodes.size(); ++i) {
    SCOPED_TRACE(i);
    const QString page = QString::number(i + 1);
    ASSERT_FALSE(rasterise(pdf, int(i) + 1, 300, 10000).isNull());  // the lower stub of a one-page voucher
    const QString decoded =
        run(u"zbarimg"_s, {u"--quiet"_s, u"-Sdisable"_s, u"-Scode128.enable"_s, pdf + u"-page.png"_s})
            .trimmed();
    if (barCodes[i] == kZeroBarCode) {
      EXPECT_EQ(decoded, QString());
      EXPECT_TRUE(run(u"pdftotext"_s, {u"-f"_s, page, u"-l"_s, page, pdf, u"-"_s}).contains(u"NO ABONAR"_s));
    } else {
      EXPECT_EQ(decoded, u"CODE-128:"_s + QString::fromLatin1(barCodes[i]));
    }
  }
}

// lblInstitucion's thick left border runs down x = 700 + 142 twips from
// y = 800 + 142 to 800 + 425.
TEST(PaintPageTest, TwipsBecomeDevicePixelsAtAnyResolution) {
  Built built({headerLine(), Detail().line()});
  for (int dpi : {100, 300}) {
    QImage image(qRound(11906.0 * dpi / 1440), qRound(16838.0 * dpi / 1440), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    const QImage blank = image.copy();
    QPainter painter(&image);
    built.report->paintPage(5, painter);  // out of range: nothing
    built.report->paintPage(-1, painter);
    painter.end();
    EXPECT_EQ(image, blank) << dpi;
    painter.begin(&image);
    built.report->paintPage(0, painter);
    painter.end();
    const auto dark = [&](double x, double y) {
      return qGray(image.pixel(int(x * dpi / 1440), int(y * dpi / 1440))) < 128;
    };
    EXPECT_TRUE(dark(842, 1100)) << dpi;
    EXPECT_FALSE(dark(842 - 120, 1100)) << dpi;
    EXPECT_FALSE(dark(842, 800 + 425 + 120)) << dpi;
  }
}

// A printer that keeps its margins puts the painter's origin at them; the
// page must still land where a full-page device puts it.
TEST(PaintPageTest, DeviceWithMarginsPaintsThePageWhereAFullPageDeviceDoes) {
  if (!haveTools({u"pdftoppm"_s})) GTEST_SKIP() << "pdftoppm not installed";
  Built built({headerLine(), Detail().line()});
  const QString full = built.aux.file(u"full.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(full).isOk());
  const QString margins = built.aux.file(u"margins.pdf"_s);
  {
    QPdfWriter writer(margins);
    writer.setResolution(1200);                        // as writePdf: the same device pixels for the bar code
    writer.setPageLayout(built.report->pageLayout());  // standard mode: origin at the margins
    QPainter painter(&writer);
    built.report->paintPage(0, painter);
  }
  const QImage a = rasterise(full, 1, 60);
  const QImage b = rasterise(margins, 1, 60);
  ASSERT_EQ(a.size(), b.size());
  // Rounding moves an edge by a pixel here and there; a page moved by the
  // margins would differ all over.
  qint64 difference = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) difference += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  EXPECT_LT(double(difference) / (a.width() * a.height()), 1.0);
}

struct RecordedProgress final : Progress {
  bool report(Stage stage, qint64 done, qint64 total) override {
    seen << u"%1:%2/%3"_s.arg(int(stage)).arg(done).arg(total);
    return done != cancelAt;
  }
  QStringList seen;
  qint64 cancelAt = -1;
};

// Pages of a range painted onto a paged device, one by one with progress;
// a range outside the report and a cancel say so.
TEST(PaintPagesTest, RangeIsPaintedPageByPageWithProgressAndACancelStopsIt) {
  Detail other, otherForm;
  other.cuit = "20000000011";
  otherForm.form = "F0301";
  Built built({headerLine(), Detail().line(), Detail().line(), other.line(), otherForm.line()});
  ASSERT_EQ(built.report->pageCount(), 3);
  EXPECT_EQ(built.report->voucherCount(), 3);
  const int printing = int(Progress::Stage::PrintingPages);
  const struct {
    int first, last;
    qint64 cancelAt;
    Status::Code status;
    QStringList seen;
  } cases[] = {
      {1, 2, -1, Status::Code::Ok, {u"%1:1/2"_s.arg(printing), u"%1:2/2"_s.arg(printing)}},
      {0, 2, 1, Status::Code::Cancelled, {u"%1:1/3"_s.arg(printing)}},
      {2, 3, -1, Status::Code::Error, {}},
      {-1, 0, -1, Status::Code::Error, {}},
      {2, 1, -1, Status::Code::Error, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first * 10 + c.last);
    RecordedProgress progress;
    progress.cancelAt = c.cancelAt;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    Status status;
    {
      QPdfWriter writer(&pdf);
      QPainter painter(&writer);
      status = built.report->paintPages(writer, painter, c.first, c.last, progress);
    }
    EXPECT_EQ(status.code(), c.status) << status.description().toStdString();
    EXPECT_EQ(progress.seen, c.seen);
    if (c.status == Status::Code::Ok) {
      EXPECT_EQ(pdf.data().count("/Type /Page\n"), c.last - c.first + 1);
    }
  }
}

// A file cut short after the report was built: the pages it no longer
// holds paint nothing, printing and the PDF say the file changed.
TEST(PaintPagesTest, FileCutShortAfterTheBuildGivesBlankPagesAndErrors) {
  Detail other;
  other.cuit = "20000000011";
  Built built({headerLine(), Detail().line(), other.line(), Detail().line()});
  ASSERT_EQ(built.report->pageCount(), 3);
  ASSERT_TRUE(QFile::resize(built.aux.path(), headerLine().size() + 2 + 300));
  QImage image(200, 283, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QImage blank = image.copy();
  {
    QPainter painter(&image);
    built.report->paintPage(2, painter);
    built.report->paintPage(1, painter);
  }
  EXPECT_EQ(image, blank);
  const Status pdf = built.report->writePdf(built.aux.file(u"cut.pdf"_s));
  EXPECT_TRUE(pdf.isError());
  EXPECT_TRUE(pdf.description().contains(u"TarquelasAux.txt"_s)) << pdf.description().toStdString();
  EXPECT_FALSE(QFile::exists(built.aux.file(u"cut.pdf"_s)));
}

// What is at a path: a plain file's bytes, or its kind.
QByteArray stateOf(const QString& path) {
  struct stat st {};
  if (lstat(QFile::encodeName(path).constData(), &st) != 0) return "nothing";
  if (S_ISREG(st.st_mode)) return "file: " + readBytes(path);
  return S_ISDIR(st.st_mode) ? "folder" : S_ISFIFO(st.st_mode) ? "pipe" : "other";
}

TEST(PdfTest, FailedOrCancelledWriteNamesThePathAndLeavesWhatWasThere) {
  std::vector<QByteArray> lines{headerLine()};
  for (int i = 0; i < 40; ++i) {
    Detail d;
    d.cuit = i % 2 ? "20123456786" : "20000000011";
    lines.push_back(d.line());
  }
  Built built(lines);
  ASSERT_TRUE(built.report.has_value());
  signal(SIGXFSZ, SIG_IGN);
  struct Cancel final : Progress {
    bool report(Stage, qint64, qint64) override { return !atOnce; }
    bool atOnce = false;
  } progress;
  const auto earlier = [](const QString& p) { return writeBytes(p, "earlier"); };
  const struct {
    const char* name;
    const char* file;
    bool (*prepare)(const QString& path);
    rlim_t sizeLimit;
    bool cancelled;
  } cases[] = {
      // clang-format off
      {"missing folder", "no-such-folder/out.pdf", [](const QString&) { return true; }, RLIM_INFINITY, false},
      {"full disk", "full.pdf", earlier, 16 * 1024, false},
      {"folder in its place", "folder.pdf", [](const QString& p) { return QDir().mkdir(p); }, RLIM_INFINITY, false},
      {"pipe in its place", "pipe", [](const QString& p) { return mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
       RLIM_INFINITY, false},
      {"cancelled", "cancelled.pdf", earlier, RLIM_INFINITY, true},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = built.aux.file(QString::fromLatin1(c.file));
    ASSERT_TRUE(c.prepare(path));
    const QByteArray before = stateOf(path);
    progress.atOnce = c.cancelled;
    rlimit saved{}, limit{};  // a file size limit fails writes part-way as a full disk does
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = {std::min(c.sizeLimit, saved.rlim_max), saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = built.report->writePdf(path, progress);
    setrlimit(RLIMIT_FSIZE, &saved);
    if (c.cancelled) {
      EXPECT_TRUE(status.isCancelled());
    } else {
      EXPECT_TRUE(status.isError());
      EXPECT_TRUE(status.description().contains(path)) << status.description().toStdString();
    }
    EXPECT_EQ(stateOf(path), before);
  }
}

}  // namespace
}  // namespace tarquelas
