// The PDF of the sample voucher file, checked with the tools a person would
// use: poppler (pages, text, fonts, a page as an image) and zbar (the bar
// code read back).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

using testing::AuxFile;
using testing::Detail;
using testing::headerLine;

QString tool(const QString& name) { return QStandardPaths::findExecutable(name); }

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(120000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The good lines of the sample, as the validator would copy them.
std::vector<QByteArray> sampleAuxLines() {
  const LinesResult sample = readAllLines(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt"));
  std::vector<QByteArray> lines;
  for (const QByteArray& raw : sample.lines) {
    const QByteArray line = decodificarUTF8(raw);
    if (line.size() == voucher::kHeaderLength || line.size() == voucher::kDetailLength) lines.push_back(line);
  }
  return lines;
}

int voucherCount(const std::vector<QByteArray>& lines) {
  int vouchers = 0;
  QByteArray previous;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QByteArray key = voucher::detail::cuit.in(lines[i]).toByteArray() +
                           voucher::detail::formCode.in(lines[i]).toByteArray();
    if (key != previous) ++vouchers;
    previous = key;
  }
  return vouchers;
}

class PdfTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureGuiApp(); }

  void writeSamplePdf() {
    lines = sampleAuxLines();
    ASSERT_GT(lines.size(), 2u) << "samples/vouchers.txt missing";
    aux = std::make_unique<AuxFile>(lines);
    pdf = aux->file(u"vouchers.pdf"_s);
    VoucherReport::BuildResult built = VoucherReport::build(aux->path());
    ASSERT_TRUE(built.status.isOk()) << built.status.description().toStdString();
    const Status written = built.report->writePdf(pdf);
    ASSERT_TRUE(written.isOk()) << written.description().toStdString();
    pages = built.report->pageCount();
  }

  std::vector<QByteArray> lines;
  std::unique_ptr<AuxFile> aux;
  QString pdf;
  int pages = 0;
};

TEST_F(PdfTest, SampleGivesOnePagePerVoucher) {
  if (tool(u"pdfinfo"_s).isEmpty()) GTEST_SKIP() << "pdfinfo (poppler-utils) not installed";
  writeSamplePdf();
  const QString info = run(tool(u"pdfinfo"_s), {pdf});
  const QRegularExpressionMatch m = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info);
  ASSERT_TRUE(m.hasMatch()) << info.toStdString();
  EXPECT_EQ(m.captured(1).toInt(), voucherCount(lines));
  EXPECT_EQ(pages, voucherCount(lines));
  EXPECT_TRUE(info.contains(u"A4"_s)) << info.toStdString();
}

TEST_F(PdfTest, SampleTextsAreInThePdf) {
  if (tool(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
  writeSamplePdf();
  const QString text = run(tool(u"pdftotext"_s), {u"-layout"_s, pdf, u"-"_s});
  const QByteArray& first = lines[1];
  const QString cuit = QString::fromLatin1(formatearCUIT(voucher::detail::cuit.in(first)));
  for (const QString& expected :
       {u"CUIT: "_s + cuit, u"PERIODO: "_s, u"TOTAL A PAGAR:"_s, u"Tal\u00f3n para el contribuyente"_s,
        u"Tal\u00f3n para el ente recaudador"_s, u"C\u00f3digo de barras: "_s, u"NO ABONAR EN VENTANILLA."_s,
        u"Lugares habilitados para el pago:"_s, u"CONCEPTO"_s})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
}

TEST_F(PdfTest, LongWorkerListWrapsAndKeepsEveryCuil) {
  if (tool(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
  Detail d;
  d.form = "F0808";
  QByteArray list = "Trabajadores: ";
  for (int i = 0; i < 14; ++i) list += "2012345678" + QByteArray::number(i % 10) + " - ";
  d.observations = list.left(200);
  AuxFile aux({headerLine(), d.line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  const QString pdfPath = aux.file(u"long.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(pdfPath).isOk());
  const QString text = run(tool(u"pdftotext"_s), {pdfPath, u"-"_s}).simplified();
  EXPECT_TRUE(text.contains(u"CUILES: 20123456780"_s)) << text.toStdString();
  EXPECT_TRUE(text.contains(u"20123456781"_s)) << text.toStdString();
  EXPECT_TRUE(text.contains(u"20123456782"_s))
      << text.toStdString();  // the last whole one, on the second line
}

TEST_F(PdfTest, FontsAreEmbedded) {
  if (tool(u"pdffonts"_s).isEmpty()) GTEST_SKIP() << "pdffonts (poppler-utils) not installed";
  writeSamplePdf();
  const QStringList rows = run(tool(u"pdffonts"_s), {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(rows.isEmpty());
  for (const QString& row : rows) {
    const QStringList cols = row.simplified().split(u' ');
    ASSERT_GE(cols.size(), 5);
    EXPECT_EQ(cols[cols.size() - 5], u"yes") << row.toStdString();  // emb
  }
}

TEST_F(PdfTest, BarCodeReadsBackAsTheRecordDigits) {
  if (tool(u"pdftoppm"_s).isEmpty() || tool(u"zbarimg"_s).isEmpty())
    GTEST_SKIP() << "pdftoppm (poppler-utils) or zbarimg (zbar-tools) not installed";
  writeSamplePdf();
  // The first voucher whose record carries a bar code.
  int page = 0;
  QByteArray digits;
  QByteArray previous;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QByteArray key = voucher::detail::cuit.in(lines[i]).toByteArray() +
                           voucher::detail::formCode.in(lines[i]).toByteArray();
    if (key != previous) ++page;
    previous = key;
    const QByteArray code = voucher::detail::barCode.in(lines[i]).toByteArray();
    // a voucher's last record carries its code
    const bool last =
        i + 1 == lines.size() || voucher::detail::cuit.in(lines[i + 1]).toByteArray() +
                                         voucher::detail::formCode.in(lines[i + 1]).toByteArray() !=
                                     key;
    if (last && code != testing::kZeroBarCode) {
      digits = code;
      break;
    }
  }
  ASSERT_FALSE(digits.isEmpty()) << "the sample has no voucher with a bar code";
  const QString prefix = aux->file(u"page"_s);
  run(tool(u"pdftoppm"_s), {u"-r"_s, u"300"_s, u"-gray"_s, u"-f"_s, QString::number(page), u"-l"_s,
                            QString::number(page), u"-png"_s, u"-singlefile"_s, pdf, prefix});
  const QString decoded = run(tool(u"zbarimg"_s), {u"--quiet"_s, u"--raw"_s, u"-Sdisable"_s,
                                                   u"-Si25.enable"_s, prefix + u".png"_s})
                              .trimmed();
  EXPECT_EQ(decoded, u"0"_s + QString::fromLatin1(digits));
}

TEST_F(PdfTest, UnwritableFolderIsAnErrorNamingThePath) {
  AuxFile aux({headerLine(), Detail().line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  const QString target = aux.file(u"no-such-folder/out.pdf"_s);
  const Status status = built.report->writePdf(target);
  EXPECT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(target)) << status.description().toStdString();
}

// A file size limit makes writes fail part-way as a full disk does.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(PdfTest, FullDiskIsAnErrorNamingThePathAndKeepsTheEarlierFile) {
  std::vector<QByteArray> many{headerLine()};
  for (int i = 0; i < 40; ++i) {
    Detail d;
    d.cuit = i % 2 ? "20123456786" : "20000000011";
    many.push_back(d.line());
  }
  AuxFile aux(many);
  const QString target = aux.file(u"out.pdf"_s);
  ASSERT_TRUE(testing::writeBytes(target, "earlier"));
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  Status status;
  {
    FileSizeLimit limit(16 * 1024);
    status = built.report->writePdf(target);
  }
  EXPECT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(target)) << status.description().toStdString();
  EXPECT_EQ(testing::readBytes(target), QByteArray("earlier"));
}

TEST_F(PdfTest, FolderInPlaceOfTheFileIsAnErrorNamingThePath) {
  AuxFile aux({headerLine(), Detail().line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  const QString target = aux.file(u"folder.pdf"_s);
  ASSERT_TRUE(QDir().mkdir(target));
  const Status status = built.report->writePdf(target);
  EXPECT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(target)) << status.description().toStdString();
}

TEST_F(PdfTest, SomethingOtherThanAFileIsNeverReplaced) {
  AuxFile aux({headerLine(), Detail().line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  const QString pipe = aux.file(u"pipe"_s);
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const Status status = built.report->writePdf(pipe);
  EXPECT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(pipe)) << status.description().toStdString();
  EXPECT_FALSE(QFileInfo(pipe).isFile());  // still the pipe
}

TEST_F(PdfTest, CancelledWriteLeavesTheEarlierFileUntouched) {
  AuxFile aux({headerLine(), Detail().line()});
  const QString target = aux.file(u"out.pdf"_s);
  ASSERT_TRUE(testing::writeBytes(target, "earlier"));
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  struct CancelAtOnce final : Progress {
    bool report(Stage, qint64, qint64) override { return false; }
  } cancel;
  EXPECT_TRUE(built.report->writePdf(target, cancel).isCancelled());
  EXPECT_EQ(testing::readBytes(target), QByteArray("earlier"));
}

TEST_F(PdfTest, ProgressCountsEveryVoucher) {
  Detail other;
  other.form = "F0301";
  AuxFile aux({headerLine(), Detail().line(), Detail().line(), other.line()});
  struct Recorder final : Progress {
    bool report(Stage stage, qint64 done, qint64 total) override {
      calls.push_back({done, total});
      return stage == Stage::LayingOutVouchers;
    }
    std::vector<std::pair<qint64, qint64>> calls;
  } recorder;
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report->writePdf(aux.file(u"out.pdf"_s), recorder).isOk());
  EXPECT_EQ(recorder.calls, (std::vector<std::pair<qint64, qint64>>{{1, 2}, {2, 2}}));
}

}  // namespace
}  // namespace tarquelas
