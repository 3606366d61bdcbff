// The voucher report of auxiliary files: the texts the record fields give,
// the pages laid out for every form and hand-edited line; the pages painted
// and written as PDF, checked with the tools a person would use (poppler,
// qpdf, zbar); and PDF writing that must never lose an earlier file.
#include "voucher_report/voucher_report.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <csignal>
#include <map>
#include <span>

#include "declarations/voucher_layout.h"
#include "pdf/pdf_writer.h"
#include "report_engine/fonts.h"
#include "support/cp1252.h"
#include "support/text_file.h"
#include "support/varias.h"
#include "tests/common/data_file.h"
#include "tests/common/data_table.h"
#include "voucher_report/rpt_tarquela.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_index.h"
#include "voucher_report/voucher_search.h"
#include "voucher_report/voucher_texts.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

using namespace tarquelas::testing;

// Made before the first test and destroyed after the last, so the report's
// font caches are released the way they are when the program ends.
class GuiEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "voucher_report_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    registerProgramFonts();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// tests/data/voucher_aux.txt, a record a line: two records of a voucher
// (heading and stubs from the first, totals from the last); vouchers of every
// form, each after one whose logo, places, part number and institution must
// not linger, and a lower-case form code, which lists no one; the values that
// change what shows (workers, bar codes of zeros, with a letter, short,
// numbers no printf should write out); a later header, which gives the period
// of the vouchers after it; hand-edited lines (empty, short, letters, cut,
// too long); vouchers of 13, 14 and 100 concepts (A4 holds the heading, 13
// concepts of 300 twips and the footer); a workers' list that wraps.
QByteArray auxBytes() { return readBytes(dataPath("voucher_aux.txt")); }

// Records the reports as "stage:done/total"; cancels at the one of done
// cancelAt, at once for 0.
struct Recorded final : Progress {
  explicit Recorded(qint64 cancelAt = -1) : cancelAt(cancelAt) {}
  bool report(Stage stage, qint64 done, qint64 total) override {
    seen << u"%1:%2/%3"_s.arg(int(stage)).arg(done).arg(total);
    return cancelAt < 0 || done < cancelAt;
  }
  QStringList seen;
  qint64 cancelAt;
};

// An auxiliary file written in a temporary folder.
struct AuxFile {
  explicit AuxFile(const QByteArray& bytes) { writeBytes(path(), bytes); }
  QString path() const { return file(u"TarquelasAux.txt"_s); }
  QString file(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

// The report of an auxiliary file laid out into pages that are kept; its
// index must count the pages the layout makes.
struct LaidOut : AuxFile {
  explicit LaidOut(const QByteArray& bytes, const QString& at = {}) : AuxFile(bytes) {
    IndexResult built = VoucherIndex::build(at.isEmpty() ? path() : at, noProgress());
    status = built.status;
    if (!built.index) return;
    index = std::make_unique<VoucherIndex>(std::move(*built.index));
    report = std::make_unique<RptTarquela>(*index);
    status = report->run(collector);
    EXPECT_EQ(index->pageCount(), qint64(collector.pages.size()));
  }

  std::unique_ptr<VoucherIndex> index;
  std::unique_ptr<RptTarquela> report;
  report::PageCollector collector;
  Status status;
};

// tests/data/voucher_texts.txt: a case a line, "function|field|text", the
// field and text with their blanks.
TEST(VoucherTextsTest, FieldsGiveTheirPrintedTextsAndHandEditedOnesNeverFail) {
  // clang-format off
  const std::map<QByteArray, QByteArray (*)(QByteArrayView)> functions = {
      {"amount", amountText}, {"count", countText}, {"period", periodText}, {"date", dateText},
      {"consortiumNumber", consortiumNumberText}, {"voucherNumber", voucherNumberText},
      {"workerList", workerListText}};
  // clang-format on
  // As in the program under es_AR, whose decimal separator is a comma.
  const std::string numericWas = setlocale(LC_NUMERIC, nullptr);
  setlocale(LC_NUMERIC, "es_AR.UTF-8");
  const RowKinds kinds = {{"amount", 3},           {"count", 3},         {"period", 3},    {"date", 3},
                          {"consortiumNumber", 3}, {"voucherNumber", 3}, {"workerList", 3}};
  for (const QList<QByteArray>& row : dataRows("voucher_texts.txt", kinds)) {
    const QByteArray field = toCp1252(QString::fromUtf8(row[1])), text = toCp1252(QString::fromUtf8(row[2]));
    EXPECT_EQ(functions.at(row[0])(field), text) << row.join('|').constData();
  }
  setlocale(LC_NUMERIC, numericWas.c_str());
}

// A placement a line, top name "text", for those that hold a record's text
// and every picture, bar code and notice; a page opens with the number of
// its placements.
QByteArray pagesText(std::span<const report::Page> pages, qint64 first = 0) {
  report::ReportDesign design = tarquelaDesign();
  QString text;
  for (const report::Page& page : pages) {
    text += u"=== page %1: %2 placed\n"_s.arg(++first).arg(page.items.size());
    for (const report::PlacedItem& item : page.items) {
      const report::Control& c = *item.control;
      if (item.text == design.findControl(c.name)->text && c.kind != report::ControlKind::Image &&
          c.kind != report::ControlKind::BarCode && !c.name.startsWith(u"lblSinBarra"))
        continue;
      text += u"%1 %2 \"%3\"\n"_s.arg(item.origin.y())
                  .arg(c.name, QString(item.text).replace(u"\r\n"_s, u"\\n"_s));
    }
  }
  return text.toUtf8();
}

TEST(RptTarquelaTest, PagesShowTheRecordsAsTheirFormsSayAndEachVoucherLaidOutAloneGivesTheSame) {
  LaidOut r(auxBytes());
  ASSERT_TRUE(r.status.isOk());
  expectData("voucher_pages.txt", pagesText(r.collector.pages));
  // The period in force, and the concept a record of another length keeps,
  // come from the vouchers before it.
  for (qint64 v = r.index->voucherCount() - 1; v >= 0; --v) {
    report::PageCollector alone;
    ASSERT_TRUE(r.report->run(v, v, alone).isOk());
    const qint64 first = r.index->voucher(v).firstPage;
    ASSERT_EQ(qint64(alone.pages.size()), r.index->pagesOf(v)) << v;
    EXPECT_EQ(pagesText(alone.pages, first),
              pagesText(std::span(r.collector.pages).subspan(first, alone.pages.size()), first));
  }
}

TEST(RptTarquelaTest, MissingFileOrHeaderAloneGivesNoPagesAndACancelStopsTheBuild) {
  for (const QString& path : {QString(), u"/nonexistent/TarquelasAux.txt"_s}) {
    const LaidOut empty(auxBytes().left(auxBytes().indexOf('\n') + 1), path);
    EXPECT_TRUE(empty.status.isOk() && empty.collector.pages.empty()) << path.toStdString();
  }
  Recorded cancel(0);
  const VoucherReport::BuildResult built = VoucherReport::build(AuxFile(auxBytes()).path(), cancel);
  EXPECT_TRUE(built.status.isCancelled() && !built.report.has_value());
}

// Every page of the vouchers of the consortia asked for, and no other: a page
// belongs to the C.U.I.T. of the last heading laid out on it or before it.
TEST(VoucherIndexTest, CuitsGiveEveryPageOfTheirVouchersAndNameThoseWithout) {
  LaidOut r(auxBytes());
  ASSERT_TRUE(r.status.isOk());
  const QList<QByteArray> cuits{"20000000011", "30915466679", "20000000011", "2000000001"};
  QList<int> expected;
  QString heading;
  for (int p = 0; p < int(r.collector.pages.size()); ++p) {
    for (const report::PlacedItem& item : r.collector.pages[std::size_t(p)].items)
      if (item.control->name == u"lblCUIT"_s) heading = item.text;
    if (heading.startsWith(u"CUIT: 20-00000001-1 "_s)) expected << p;
  }
  ASSERT_EQ(expected.size(), 12);  // the eight pages of the voucher of 100 concepts among them
  AuxFile file(auxBytes());
  const VoucherReport::BuildResult built = VoucherReport::build(file.path());
  ASSERT_TRUE(built.status.isOk());
  const VoucherReport::CuitPages found = built.report->pagesOfCuits(cuits);
  ASSERT_TRUE(found.status.isOk());
  EXPECT_EQ(found.missing, (QList<QByteArray>{"30915466679", "2000000001"}));
  QList<int> pages;
  for (std::size_t i = 0; i < found.pages.size(); ++i) {
    if (i > 0) {
      EXPECT_GT(found.pages[i].first, found.pages[i - 1].last + 1);  // touching ones joined
    }
    for (int p = found.pages[i].first; p <= found.pages[i].last; ++p) pages << p;
  }
  EXPECT_EQ(pages, expected);
  // A file that no longer holds the records indexed says so.
  writeBytes(file.path(), auxBytes().mid(10));
  EXPECT_TRUE(built.report->pagesOfCuits(cuits).status.description().contains(u"cambi\u00f3"_s));
}

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(program), args);
  p.waitForFinished(120000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The rows of a poppler listing, in columns.
QList<QStringList> rowsOf(const QString& listing) {
  QList<QStringList> rows;
  for (const QString& row : listing.split(u'\n', Qt::SkipEmptyParts).mid(2))
    rows << row.simplified().split(u' ');
  return rows;
}

// A report built from bytes, kept with its auxiliary file's folder.
struct Built : AuxFile {
  explicit Built(const QByteArray& bytes) : AuxFile(bytes) {
    VoucherReport::BuildResult result = VoucherReport::build(path());
    EXPECT_TRUE(result.status.isOk()) << result.status.description().toStdString();
    report = std::move(result.report);
  }
  std::optional<VoucherReport> report;
};

// A PDF page at dpi as a grey image, written next to the PDF.
QImage rasterise(const QString& pdf, int page, int dpi) {
  const QString n = QString::number(page);
  run(u"pdftoppm"_s, {u"-r"_s, QString::number(dpi), u"-gray"_s, u"-f"_s, n, u"-l"_s, n, u"-png"_s,
                      u"-singlefile"_s, pdf, pdf + u"-page"_s});
  return QImage(pdf + u"-page.png"_s);
}

double meanDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 255;
  qint64 difference = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) difference += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  return double(difference) / (a.width() * a.height());
}

// The good lines of the sample, as the validator copies them, and a last
// voucher whose workers' list wraps to a second line. The program's PDF
// writer draws the pages as Qt's does with its origin at the margins (as a
// printer that keeps them), in a file qpdf finds sound, storing each picture
// and font once however many pages show them.
TEST(PdfTest, SampleGivesAPagePerVoucherWithItsTextsEmbeddedFontsAndReadableBarCodes) {
  for (const QString& tool : {u"zbarimg"_s, u"qpdf"_s, u"pdftoppm"_s, u"pdftotext"_s, u"pdfinfo"_s,
                              u"pdffonts"_s, u"pdfimages"_s}) {
    if (QStandardPaths::findExecutable(tool).isEmpty())
      GTEST_SKIP() << tool.toStdString() << " is missing (scripts/deps.sh installs it)";
  }
  // Three fonts: Tahoma, Tahoma bold and the stand-in for Verdana.
  ASSERT_TRUE(QFontDatabase::hasFamily(u"Tahoma"_s))
      << "Tahoma is missing: fonts-wine (scripts/deps.sh) installs /usr/share/wine/fonts/tahoma.ttf";
  QByteArray bytes;
  for (const QByteArray& raw :
       readAllLines(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt")).lines) {
    const QByteArray line = decodificarUTF8(raw);
    if (line.size() == kHeaderLength || line.size() == kDetailLength) bytes += line + "\r\n";
  }
  const QByteArray aux = auxBytes();
  Built built(bytes + aux.mid(aux.lastIndexOf('\n', aux.size() - 2) + 1));
  ASSERT_TRUE(built.report->pageCount() == 11 && built.report->voucherCount() == 11) << "samples changed?";
  const QString pdf = built.file(u"vouchers.pdf"_s), qt = built.file(u"qt.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(pdf).isOk());
  {
    QPdfWriter writer(qt);
    writer.setResolution(1200);  // as writePdf: the same device pixels for the bar code
    writer.setPageLayout(built.report->pageLayout());
    QPainter painter(&writer);
    ASSERT_TRUE(built.report->paintPages(writer, painter, 0, 2).isOk());
  }
  for (int page = 1; page <= 3; ++page)
    EXPECT_LT(meanDifference(rasterise(qt, page, 100), rasterise(pdf, page, 100)), 0.1) << page;
  EXPECT_TRUE(run(u"qpdf"_s, {u"--check"_s, pdf}).contains(u"No syntax or stream encoding errors"_s));
  QBuffer twice;
  twice.open(QIODevice::WriteOnly);
  ASSERT_TRUE(built.report->writePdf(twice, 0, 10, 2, Progress::Stage::WritingPdf).isOk());
  // The logos and the scissors, and the fonts, each stored once.
  for (const auto& [object, count] : {std::pair{"/Subtype/Image", 6}, {"/FontFile2", 3}}) {
    EXPECT_EQ(readBytes(pdf).count(object), count) << object;
    EXPECT_EQ(twice.data().count(object), count) << object;
  }
  // Each voucher once in the outline; every copy numbers its pages as the report does.
  EXPECT_EQ(twice.data().count("/Dest["), 11);
  EXPECT_TRUE(twice.data().contains("/PageLabels<</Nums[0<</S/D/St 1>>11<</S/D/St 1>>]>>"));
  const QString info = run(u"pdfinfo"_s, {pdf}).simplified();
  EXPECT_TRUE(info.contains(u"Pages: 11 "_s) && info.contains(u"A4"_s)) << info.toStdString();
  // the texts, and every whole number of the wrapped list, the last on the second line
  const QString text = run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
  for (const QString& expected :
       {u"CUIT: 30-42604684-5"_s, u"PERIODO: "_s, u"TOTAL A PAGAR:"_s, u"Tal\u00f3n para el contribuyente"_s,
        u"C\u00f3digo de barras: "_s, u"NO ABONAR EN VENTANILLA."_s, u"Lugares habilitados para el pago:"_s,
        u"CUILES: 20123456780"_s, u"20123456781"_s, u"20123456782"_s})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
  for (const QStringList& font : rowsOf(run(u"pdffonts"_s, {pdf})))
    EXPECT_EQ(font.value(font.size() - 5), u"yes") << font.join(u' ').toStdString();  // embedded
  // the pictures printed at 300 dots an inch or finer
  for (const QStringList& image : rowsOf(run(u"pdfimages"_s, {u"-list"_s, pdf})))
    EXPECT_GE(std::min(image.value(12).toInt(), image.value(13).toInt()), 300)
        << image.join(u' ').toStdString();
  // Every voucher's bar code, its last record's, reads back as Code 128 with
  // exactly its 59 digits; a voucher without one has no bars.
  QString decoded;
  for (int page = 1; page <= 11; ++page) {
    rasterise(pdf, page, 300);
    decoded += run(u"zbarimg"_s, {u"--quiet"_s, u"-Sdisable"_s, u"-Scode128.enable"_s, pdf + u"-page.png"_s})
                   .trimmed() +
               u'\n';
  }
  expectData("voucher_bar_codes.txt", decoded.toLatin1());
}

// Text in a font with neither TrueType nor CFF outlines (Type 1) is not
// drawn as shapes: the writer names the font and refuses the next page and
// the end of the file.
TEST(PdfTest, TextInAFontThatCannotBeEmbeddedStopsTheFile) {
  const QRawFont type1(u"/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1"_s, 100);
  if (!type1.isValid()) GTEST_SKIP() << "fonts-urw-base35 is missing";
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  report::PdfWriter writer(&out);
  QPainter painter(&writer);
  QGlyphRun run;
  run.setRawFont(type1);
  run.setGlyphIndexes(type1.glyphIndexesForString(u"Tarquela"_s));
  run.setPositions(QList<QPointF>(run.glyphIndexes().size(), QPointF(100, 100)));
  ASSERT_TRUE(report::PdfWriter::drawGlyphRun(painter, run, Qt::black));
  EXPECT_EQ(writer.unembeddableFont(), u"Nimbus Sans Regular"_s);
  EXPECT_FALSE(writer.newPage());
  EXPECT_FALSE(painter.end());
}

// Pages of a range painted onto a paged device, one by one with progress;
// a range outside the report and a cancel say so; the PDF of a file cut
// short after the build says the file changed.
TEST(PaintPagesTest, PagesArePaintedAtAnyResolutionAndARangeWithProgressUntilACancelOrACutFile) {
  Built built(auxBytes());
  const int last = built.report->pageCount() - 1;
  const QString p = QString::number(int(Progress::Stage::PrintingPages)) + u':';
  const struct {
    int first, last;
    qint64 cancelAt;
    Status::Code status;
    QStringList seen;
  } cases[] = {
      {1, 2, -1, Status::Code::Ok, {p + u"1/2"_s, p + u"2/2"_s}},
      {0, 2, 1, Status::Code::Cancelled, {p + u"1/3"_s}},
      {3, 3, -1, Status::Code::Ok, {p + u"1/1"_s}},
      {last, last + 1, -1, Status::Code::Error, {}},
      {-1, 0, -1, Status::Code::Error, {}},
      {2, 1, -1, Status::Code::Error, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first * 10 + c.last);
    Recorded progress(c.cancelAt);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    QPainter painter(&writer);
    const Status status = built.report->paintPages(writer, painter, c.first, c.last, progress);
    painter.end();  // the PDF written whole
    EXPECT_EQ(status.code(), c.status) << status.description().toStdString();
    EXPECT_EQ(progress.seen, c.seen);
    EXPECT_EQ(pdf.data().count("/Type /Page\n"), c.status == Status::Code::Ok ? c.last - c.first + 1 : 1);
  }
  // Painted on images: nothing for a page out of range or one the file cut
  // short after the build no longer holds (the last ones, not laid out yet);
  // lblInstitucion's thick left border down x = 700 + 142 twips from y = 800
  // + 142 to 800 + 425, whatever the resolution.
  ASSERT_TRUE(QFile::resize(built.path(), auxBytes().indexOf('\n') + 1 + 300));
  for (int dpi : {100, 300}) {
    QImage image(qRound(11906.0 * dpi / 1440), qRound(16838.0 * dpi / 1440), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    const QImage blank = image.copy();
    QPainter painter(&image);
    for (int page : {last + 1, -1, last, last - 1}) built.report->paintPage(page, painter);
    EXPECT_EQ(image, blank) << dpi;
    built.report->paintPage(0, painter);
    painter.end();
    const auto dark = [&](double x, double y) {
      return qGray(image.pixel(int(x * dpi / 1440), int(y * dpi / 1440))) < 128;
    };
    EXPECT_TRUE(dark(842, 1100) && !dark(842 - 120, 1100) && !dark(842, 800 + 425 + 120)) << dpi;
  }
  const Status pdf = built.report->writePdf(built.file(u"cut.pdf"_s));
  EXPECT_TRUE(pdf.description().contains(u"TarquelasAux.txt"_s)) << pdf.description().toStdString();
  EXPECT_FALSE(QFile::exists(built.file(u"cut.pdf"_s)));
}

// A range that begins inside a voucher (page 20 goes on with the voucher
// of page 19) still lists it, and the next one, in its outline; its pages
// keep the report's numbers.
TEST(PdfTest, ARangeListsTheVouchersItShowsAndKeepsTheReportsPageNumbers) {
  Built built(auxBytes());
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  ASSERT_TRUE(built.report->writePdf(pdf, 19, 20, 1, Progress::Stage::PrintingPages).isOk());
  EXPECT_EQ(pdf.data().count("/Dest["), 2);
  EXPECT_TRUE(pdf.data().contains("/PageLabels<</Nums[0<</S/D/St 20>>]>>"));
}

// What is at a path: a plain file's bytes, or what it is.
QByteArray stateOf(const QString& path) {
  const QFileInfo at(path);
  return !at.exists() ? "nothing" : at.isFile() ? readBytes(path) : at.isDir() ? "folder" : "other"_ba;
}

TEST(PdfTest, FailedOrCancelledWriteNamesThePathAndLeavesWhatWasThere) {
  Built built(auxBytes());
  signal(SIGXFSZ, SIG_IGN);
  const auto earlier = [](const QString& p) { return writeBytes(p, "earlier"); };
  const struct {
    const char* file;
    bool (*prepare)(const QString& path);
    rlim_t sizeLimit;  // fails writes part-way as a full disk does
    bool cancelled;
    const char* reason;  // in the system's words
  } cases[] = {
      // clang-format off
      {"no-such-folder/out.pdf", [](const QString&) { return true; }, RLIM_INFINITY, false,
       "No existe el archivo o la carpeta"},
      {"full.pdf", earlier, 16 * 1024, false, "El archivo es demasiado grande"},
      {"folder.pdf", [](const QString& p) { return QDir().mkdir(p); }, RLIM_INFINITY, false, "no es un archivo común"},
      {"pipe", [](const QString& p) { return mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }, RLIM_INFINITY,
       false, "no es un archivo común"},
      {"cancelled.pdf", earlier, RLIM_INFINITY, true, ""},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = built.file(QString::fromLatin1(c.file));
    ASSERT_TRUE(c.prepare(path));
    const QByteArray before = stateOf(path);
    Recorded progress(c.cancelled ? 0 : -1);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{std::min(c.sizeLimit, saved.rlim_max), saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = built.report->writePdf(path, progress);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(status.code(), c.cancelled ? Status::Code::Cancelled : Status::Code::Error);
    EXPECT_TRUE(c.cancelled || (status.description().contains(path) &&
                                status.description().endsWith(QString::fromUtf8(c.reason))))
        << status.description().toStdString();
    EXPECT_EQ(stateOf(path), before);
  }
}

}  // namespace
}  // namespace tarquelas::voucher

namespace tarquelas::voucher {
namespace {

using namespace tarquelas::testing;

// The sample's header and vouchers as the validator leaves them.
QByteArray sampleAux() {
  QByteArray aux;
  for (QByteArray line :
       readBytes(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt")).split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (line.size() == kHeaderLength || line.size() == kDetailLength) aux += line + "\r\n";
  }
  return aux;
}

TEST(VoucherSearchTest, FindsByCuitNumberNameOrTarquelaAndAnyOtherTextFindsNothing) {
  const AuxFile file(sampleAux());
  const IndexResult built = VoucherIndex::build(file.path(), noProgress());
  ASSERT_TRUE(built.index);
  for (const QList<QByteArray>& row : dataRows("voucher_searches.txt", 2)) {
    QStringList pages;
    for (const qint64 v : VoucherSearch(QString::fromUtf8(row[0])).find(*built.index))
      pages << QString::number(built.index->voucher(v).firstPage + 1);
    EXPECT_EQ(pages.join(u' '), QString::fromUtf8(row[1])) << row[0].constData();
  }
  // A very long text is taken whole and finds nothing.
  EXPECT_TRUE(VoucherSearch(QString(10000, u'7')).find(*built.index).empty());
}

TEST(VoucherSearchTest, PagesOfConsortiaAreEveryPageOfTheirVouchersJoined) {
  const AuxFile file(sampleAux());
  const IndexResult built = VoucherIndex::build(file.path(), noProgress());
  ASSERT_TRUE(built.index);
  const VoucherIndex& index = *built.index;
  const QByteArray cuits[] = {"30426046845", "30915466679", "33388938299", "99999999999"};
  EXPECT_EQ(index.pagesOfVouchers(index.vouchersOfCuits(cuits)), (PageSet{{0, 1}, {6, 7}}));
  EXPECT_TRUE(index.pagesOfVouchers(index.vouchersOfCuits(std::span(cuits).last(1))).empty());
  EXPECT_FALSE(index.fileChanged());
  writeBytes(file.path(), sampleAux() + sampleAux());
  EXPECT_TRUE(index.fileChanged());
}

}  // namespace
}  // namespace tarquelas::voucher
