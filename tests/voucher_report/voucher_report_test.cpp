// The voucher report of auxiliary files: the texts the record fields give,
// the pages laid out for every form and hand-edited line; the pages painted
// and written as PDF, checked with the tools a person would use: poppler
// (pages, text, fonts, pictures, a page as an image) and zbar (the bar code
// read back); and the painting and PDF writing that must never lose an
// earlier file.
#include "voucher_report/voucher_report.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <map>
#include <span>

#include "declarations/voucher_layout.h"
#include "support/cp1252.h"
#include "support/text_file.h"
#include "support/varias.h"
#include "tests/common/data_file.h"
#include "tests/common/line_builder.h"
#include "tests/common/temp_dir.h"
#include "voucher_report/fonts.h"
#include "voucher_report/pdf_writer.h"
#include "voucher_report/rpt_tarquela.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_index.h"
#include "voucher_report/voucher_texts.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

using namespace tarquelas::testing;
namespace vd = detail;

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

QByteArray headerLine(QByteArrayView month = "03", QByteArrayView year = "2009") {
  return LineBuilder(kHeaderLength)
      .at(header::entityType.start, "C0001234CAMARA DE PRUEBA")
      .at(header::periodMonth.start, month)
      .at(header::periodYear.start, year)
      .at(header::processingDate.start, "20090410");
}

const QByteArray kZeroBarCode(59, '0'), kOtherCuit = "20000000011";
using Values = std::initializer_list<std::pair<Field, QByteArrayView>>;

// A detail record: values over those of a plain one.
QByteArray detailLine(Values values = {}) {
  // clang-format off
  const Values plain = {
      {vd::consortiumNumber, "0000042"}, {vd::cuit, "20123456786"}, {vd::formCode, "F0101"},
      {vd::institutionName, "INSTITUTO DE PRUEBA"}, {vd::consortiumName, "EDIFICIO PRUEBA"},
      {vd::declarationNumber, "01"}, {vd::voucherNumber, "0000012345"}, {vd::workerCount, "007"},
      {vd::conceptsTotal, "00012345"}, {vd::paymentsOnAccount, "00000005"}, {vd::totalToPay, "12345678"},
      {vd::dueDate, "20090415"}, {vd::barCode, "12345678901234567890123456789012345678901234567890123456789"},
      {vd::conceptText, "CUOTA SOCIAL"}, {vd::conceptAmount, "00001000"}, {vd::conceptInterest, "00000050"},
      {vd::conceptTotal, "00001050"}};
  // clang-format on
  LineBuilder line(kDetailLength);
  for (const Values& list : {plain, values})
    for (const auto& [field, value] : list)
      line.at(field.start, value.toByteArray().leftJustified(field.length));
  return line.at(1, "000001").length(kDetailLength);
}

// An auxiliary file written in a temporary folder.
class AuxFile {
 public:
  explicit AuxFile(const std::vector<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& l : lines) bytes += l + "\r\n";
    writeBytes(path(), bytes);
  }
  QString path() const { return file(u"TarquelasAux.txt"_s); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// The report of an auxiliary file laid out into pages that are kept; its
// index must count the pages the layout makes.
struct LaidOut {
  explicit LaidOut(const std::vector<QByteArray>& lines, const QString& path = {}) : aux(lines) {
    IndexResult built = VoucherIndex::build(path.isEmpty() ? aux.path() : path, noProgress());
    status = built.status;
    if (!built.index) return;
    index = std::make_unique<VoucherIndex>(std::move(*built.index));
    report = std::make_unique<RptTarquela>(*index);
    status = report->run(collector);
    EXPECT_EQ(index->pageCount(), qint64(collector.pages.size()));
  }
  QString textOn(std::size_t page, QStringView name) const {
    for (const report::PlacedItem& item : collector.pages.at(page).items)
      if (item.control->name == name) return item.text;
    return u"<hidden>"_s;
  }

  AuxFile aux;
  std::unique_ptr<VoucherIndex> index;
  std::unique_ptr<RptTarquela> report;
  report::PageCollector collector;
  Status status;
};

// tests/data/voucher_texts.txt: a case a line, "function|field|text", the
// field and text with their blanks.
TEST(VoucherTextsTest, FieldsGiveTheirPrintedTextsAndHandEditedOnesNeverFail) {
  const std::map<QByteArray, QByteArray (*)(QByteArrayView)> functions = {
      {"amount", amountText},
      {"count", countText},
      {"period", periodText},
      {"date", dateText},
      {"consortiumNumber", consortiumNumberText},
      {"voucherNumber", voucherNumberText},
      {"workerList", workerListText},
  };
  int cases = 0;
  for (const QByteArray& row : readBytes(dataPath("voucher_texts.txt")).split('\n')) {
    const QList<QByteArray> c = toCp1252(QString::fromUtf8(row)).split('|');
    if (c.size() != 3 || row.startsWith('#')) continue;
    EXPECT_EQ(functions.at(c[0])(c[1]), c[2]) << row.constData();
    ++cases;
  }
  EXPECT_EQ(cases, 54);
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

// Two records of a voucher (heading and stubs from the first, totals from
// the last); vouchers of every form, each after one whose logo, places,
// part number and institution must not linger; the values that change what
// shows; a later header, which gives the period of the vouchers after it;
// hand-edited lines.
TEST(RptTarquelaTest, PagesShowTheRecordsAsTheirFormsSayAndEachVoucherLaidOutAloneGivesTheSame) {
  const QByteArray twice = "Trabajadores: 20123456786, 20000000011 -", once = "Trabajadores: 20123456786 -",
                   nines = "00000999";
  // clang-format off
  const auto first = [&](QByteArrayView cuit) {
    return detailLine({{vd::cuit, cuit}, {vd::conceptText, "PRIMERO"}, {vd::dueDate, "20091231"},
                       {vd::workerCount, "002"}, {vd::barCode, kZeroBarCode}, {vd::consortiumNumber, "9999999"},
                       {vd::conceptsTotal, nines}, {vd::paymentsOnAccount, nines}, {vd::totalToPay, nines}});
  };
  const QByteArray letters = detailLine({{vd::conceptAmount, "ABCDEFGH"}, {vd::workerCount, "X1Y"},
                                         {vd::consortiumNumber, "ABC"}, {vd::voucherNumber, "12-34"}});
  LaidOut r({
      headerLine("03", "2009"), first("20123456786"),
      detailLine({{vd::conceptText, "SEGUNDO"}, {vd::consortiumName, "OTRO NOMBRE"}, {vd::voucherNumber, "0000000077"}}),
      detailLine({{vd::cuit, kOtherCuit}, {vd::formCode, "F0808"}, {vd::observations, twice}}),
      detailLine({{vd::formCode, "f0808"}, {vd::observations, once}}),  // a lower-case code lists no one
      detailLine({{vd::cuit, kOtherCuit}, {vd::observations, once}}),
      detailLine({{vd::barCode, kZeroBarCode}}),  // the notices
      detailLine({{vd::cuit, kOtherCuit}, {vd::barCode, QByteArray(58, '1') + 'X'}}),  // the text, no bars
      detailLine({{vd::barCode, "12345"}}),
      detailLine({{vd::cuit, kOtherCuit}, {vd::formCode, "F0106"}}),
      detailLine({{vd::cuit, kOtherCuit}, {vd::formCode, "F0301"}}),
      detailLine({{vd::formCode, "F0106"}}),
      detailLine({{vd::cuit, kOtherCuit}, {vd::formCode, "X9999"}}),  // no logo, the design's texts
      detailLine({{vd::formCode, "f0101"}}),
      // numbers no printf should write out: they print as their own text
      detailLine({{vd::conceptsTotal, "-1e30000"}, {vd::paymentsOnAccount, "1e999"}, {vd::totalToPay, "NaN"},
                  {vd::voucherNumber, "1e300"}, {vd::workerCount, "9e9"}}),
      headerLine("11", "2010"), first(kOtherCuit),
      "", "short line", letters, letters.left(300), headerLine("12", "2010"), detailLine(), QByteArray(900, 'Z'),
      // clang-format on
  });
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

// A4 holds the heading, 13 concepts of 300 twips and the footer; more move
// the footer on, and a voucher of many concepts continues over pages.
TEST(RptTarquelaTest, VoucherWithManyConceptsContinuesOverPagesLosingNone) {
  for (const auto& [count, pages] : {std::pair{13, 1}, {14, 2}, {100, 3}}) {
    SCOPED_TRACE(count);
    std::vector<QByteArray> lines{headerLine()};
    for (int i = 0; i < count; ++i)
      lines.push_back(detailLine({{vd::conceptText, "CONCEPTO " + QByteArray::number(i)}}));
    LaidOut r(lines);
    ASSERT_EQ(r.collector.pages.size(), std::size_t(pages));
    int concepts = 0;
    for (const report::Page& p : r.collector.pages) {
      for (const report::PlacedItem& item : p.items) {
        if (item.control->name != u"txtConcepto") continue;
        EXPECT_EQ(item.text, u"CONCEPTO "_s + QString::number(concepts++));
        EXPECT_LE(item.rectOnPage().bottom(), 16838 - 800) << "below the body: " << item.text.toStdString();
      }
    }
    EXPECT_EQ(concepts, count);
    EXPECT_NE(r.textOn(pages - 1, u"lblTotalAPagar"), u"<hidden>");
    EXPECT_EQ(r.textOn(pages - 1, u"lblCUIT") == u"<hidden>", pages > 1);  // no heading on a continuation
  }
}

TEST(RptTarquelaTest, MissingFileOrHeaderAloneGivesNoPagesAndACancelStopsTheBuild) {
  for (const QString& path : {QString(), u"/nonexistent/TarquelasAux.txt"_s}) {
    const LaidOut empty({headerLine()}, path);
    EXPECT_TRUE(empty.status.isOk());
    EXPECT_TRUE(empty.collector.pages.empty());
  }
  struct CancelAtOnce final : Progress {
    bool report(Stage, qint64, qint64) override { return false; }
  } cancel;
  AuxFile aux({headerLine(), detailLine()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path(), cancel);
  EXPECT_TRUE(built.status.isCancelled());
  EXPECT_FALSE(built.report.has_value());
}

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

// The rows of a poppler listing, in columns.
QList<QStringList> rowsOf(const QString& listing) {
  QList<QStringList> rows;
  for (const QString& row : listing.split(u'\n', Qt::SkipEmptyParts).mid(2))
    rows << row.simplified().split(u' ');
  return rows;
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
  const QString prefix = pdf + u"-page"_s, n = QString::number(page);
  const auto px = [dpi](int twips) { return QString::number(twips * dpi / 1440); };
  run(u"pdftoppm"_s,
      {u"-r"_s, QString::number(dpi), u"-gray"_s, u"-f"_s, n, u"-l"_s, n, u"-y"_s, px(fromTwips), u"-H"_s,
       px(16838 - fromTwips), u"-W"_s, px(11906), u"-png"_s, u"-singlefile"_s, pdf, prefix});
  return QImage(prefix + u".png"_s);
}

TEST(PdfTest, SampleGivesAPagePerVoucherWithItsTextsEmbeddedFontsAndReadableBarCodes) {
  if (!haveTools({u"pdfinfo"_s, u"pdftotext"_s, u"pdffonts"_s, u"pdfimages"_s, u"pdftoppm"_s, u"zbarimg"_s}))
    GTEST_SKIP() << "poppler-utils or zbar-tools not installed";
  // The good lines of the sample, as the validator copies them, and a last
  // voucher whose workers' list wraps to a second line.
  std::vector<QByteArray> lines;
  for (const QByteArray& raw :
       readAllLines(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt")).lines) {
    const QByteArray line = decodificarUTF8(raw);
    if (line.size() == kHeaderLength || line.size() == kDetailLength) lines.push_back(line);
  }
  ASSERT_GT(lines.size(), 2u) << "samples/vouchers.txt missing";
  QByteArray list = "Trabajadores: ";
  for (int i = 0; i < 14; ++i) list += "2012345678" + QByteArray::number(i % 10) + " - ";
  lines.push_back(
      detailLine({{vd::formCode, "F0808"}, {vd::cuit, kOtherCuit}, {vd::observations, list.left(200)}}));
  std::vector<QByteArray> keys, barCodes;  // a voucher's bar code is its last record's
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QByteArray key = vd::cuit.in(lines[i]).toByteArray() + vd::formCode.in(lines[i]).toByteArray();
    if (keys.empty() || keys.back() != key) keys.push_back(key), barCodes.emplace_back();
    barCodes.back() = vd::barCode.in(lines[i]).toByteArray();
  }
  Built built(lines);
  ASSERT_TRUE(built.report.has_value());
  const QString pdf = built.aux.file(u"vouchers.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(pdf).isOk());

  const QString info = run(u"pdfinfo"_s, {pdf});
  EXPECT_EQ(QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info).captured(1).toInt(), int(keys.size()));
  EXPECT_EQ(built.report->pageCount(), int(keys.size()));
  EXPECT_TRUE(info.contains(u"A4"_s)) << info.toStdString();
  const QString text = run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
  const QString cuit = QString::fromLatin1(formatearCUIT(vd::cuit.in(lines[1])));
  for (const QString& expected :
       {u"CUIT: "_s + cuit, u"PERIODO: "_s, u"TOTAL A PAGAR:"_s, u"Tal\u00f3n para el contribuyente"_s,
        u"C\u00f3digo de barras: "_s, u"NO ABONAR EN VENTANILLA."_s, u"Lugares habilitados para el pago:"_s})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
  // every whole number of the wrapped list, the last on the second line
  const QString lastPage =
      run(u"pdftotext"_s, {u"-f"_s, QString::number(keys.size()), pdf, u"-"_s}).simplified();
  for (const QString& expected : {u"CUILES: 20123456780"_s, u"20123456781"_s, u"20123456782"_s})
    EXPECT_TRUE(lastPage.contains(expected)) << lastPage.toStdString();
  for (const QStringList& font : rowsOf(run(u"pdffonts"_s, {pdf})))
    EXPECT_EQ(font.value(font.size() - 5), u"yes") << font.join(u' ').toStdString();  // embedded
  // The logos and the scissors: each stored once, all printed at 300 dots
  // an inch or finer.
  QSet<QString> pictures;
  for (const QStringList& image : rowsOf(run(u"pdfimages"_s, {u"-list"_s, pdf}))) {
    pictures.insert(image.value(10));  // object
    EXPECT_GE(std::min(image.value(12).toInt(), image.value(13).toInt()), 300)
        << image.join(u' ').toStdString();
  }
  EXPECT_EQ(pictures.size(), 6);
  // Every voucher's bar code reads back as Code 128 with exactly its 59
  // digits; a voucher without one has no bars.
  for (std::size_t i = 0; i < barCodes.size(); ++i) {
    ASSERT_FALSE(rasterise(pdf, int(i) + 1, 300, 10000).isNull());  // the lower stub of a one-page voucher
    const QString decoded =
        run(u"zbarimg"_s, {u"--quiet"_s, u"-Sdisable"_s, u"-Scode128.enable"_s, pdf + u"-page.png"_s})
            .trimmed();
    EXPECT_EQ(decoded,
              barCodes[i] == kZeroBarCode ? QString() : u"CODE-128:"_s + QString::fromLatin1(barCodes[i]))
        << i;
  }
}

// lblInstitucion's thick left border runs down x = 700 + 142 twips from
// y = 800 + 142 to 800 + 425, whatever the resolution; a printer that keeps
// its margins puts the painter's origin at them, and the page must still
// land where a full-page device puts it.
// The first pages of report written to path by a PDF writer of type Writer.
template <typename Writer>
void writePages(const VoucherReport& report, const QString& path, int pages) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  Writer writer(&file);
  QPageLayout layout = report.pageLayout();
  layout.setMode(QPageLayout::FullPageMode);
  writer.setPageLayout(layout);
  writer.setResolution(1200);
  QPainter painter(&writer);
  for (int i = 0; i < pages; ++i) {
    ASSERT_TRUE(i == 0 || writer.newPage());
    report.paintPage(i, painter);
  }
}

double meanDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 255;
  qint64 difference = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) difference += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  return double(difference) / (a.width() * a.height());
}

// The program's PDF writer draws the pages as Qt's own does, in a file qpdf
// finds sound, storing each picture and each font once however many pages
// show them.
TEST(PdfWriterTest, DrawsThePagesAsQtsWriterWithEachPictureAndFontStoredOnce) {
  if (!haveTools({u"pdftoppm"_s, u"qpdf"_s})) GTEST_SKIP() << "poppler-utils or qpdf not installed";
  Built built({headerLine(), detailLine(), detailLine({{vd::formCode, "F0808"}, {vd::cuit, kOtherCuit}}),
               detailLine({{vd::cuit, "27000000006"}})});
  ASSERT_EQ(built.report->pageCount(), 3);
  const QString qt = built.aux.file(u"qt.pdf"_s), own = built.aux.file(u"own.pdf"_s);
  const QString twoPages = built.aux.file(u"two.pdf"_s);
  writePages<QPdfWriter>(*built.report, qt, 3);
  writePages<report::PdfWriter>(*built.report, own, 3);
  writePages<report::PdfWriter>(*built.report, twoPages, 2);

  EXPECT_TRUE(run(u"qpdf"_s, {u"--check"_s, own}).contains(u"No syntax or stream encoding errors"_s));
  for (int page = 1; page <= 3; ++page)
    EXPECT_LT(meanDifference(rasterise(qt, page, 100), rasterise(own, page, 100)), 0.1) << page;
  const QByteArray three = readBytes(own), two = readBytes(twoPages);
  for (const char* once : {"/Subtype/Image", "/FontFile2"}) {
    EXPECT_GT(three.count(once), 0) << once;
    EXPECT_EQ(three.count(once), two.count(once)) << once;
  }
}

TEST(PaintPageTest, TwipsBecomeDevicePixelsAtAnyResolutionAndAnyOrigin) {
  Built built({headerLine(), detailLine()});
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
    EXPECT_TRUE(dark(842, 1100) && !dark(842 - 120, 1100) && !dark(842, 800 + 425 + 120)) << dpi;
  }
  if (!haveTools({u"pdftoppm"_s})) GTEST_SKIP() << "pdftoppm not installed";
  const QString full = built.aux.file(u"full.pdf"_s), margins = built.aux.file(u"margins.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(full).isOk());
  {
    QPdfWriter writer(margins);
    writer.setResolution(1200);                        // as writePdf: the same device pixels for the bar code
    writer.setPageLayout(built.report->pageLayout());  // standard mode: origin at the margins
    QPainter painter(&writer);
    built.report->paintPage(0, painter);
  }
  const QImage a = rasterise(full, 1, 60), b = rasterise(margins, 1, 60);
  // Rounding moves an edge by a pixel here and there; a page moved by the
  // margins would differ all over.
  EXPECT_LT(meanDifference(a, b), 1.0);
}

// Pages of a range painted onto a paged device, one by one with progress;
// a range outside the report and a cancel say so. A file cut short after
// the build: the pages it no longer holds paint nothing, and the PDF says
// the file changed.
TEST(PaintPagesTest, RangeIsPaintedPageByPageWithProgressAndACancelOrACutFileStopsIt) {
  const QByteArray other = detailLine({{vd::cuit, kOtherCuit}});
  Built built({headerLine(), detailLine(), detailLine(), other, detailLine({{vd::formCode, "F0301"}})});
  ASSERT_EQ(built.report->pageCount(), 3);
  EXPECT_EQ(built.report->voucherCount(), 3);
  struct Recorded final : Progress {
    bool report(Stage stage, qint64 done, qint64 total) override {
      seen << u"%1:%2/%3"_s.arg(int(stage)).arg(done).arg(total);
      return done != cancelAt;
    }
    QStringList seen;
    qint64 cancelAt = -1;
  };
  const QString p = QString::number(int(Progress::Stage::PrintingPages)) + u':';
  const struct {
    int first, last;
    qint64 cancelAt;
    Status::Code status;
    QStringList seen;
  } cases[] = {
      {1, 2, -1, Status::Code::Ok, {p + u"1/2"_s, p + u"2/2"_s}},
      {0, 2, 1, Status::Code::Cancelled, {p + u"1/3"_s}},
      {2, 3, -1, Status::Code::Error, {}},
      {-1, 0, -1, Status::Code::Error, {}},
      {2, 1, -1, Status::Code::Error, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first * 10 + c.last);
    Recorded progress;
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
  Built cut({headerLine(), detailLine(), other, detailLine()});  // no page laid out yet
  ASSERT_TRUE(QFile::resize(cut.aux.path(), headerLine().size() + 2 + 300));
  QImage image(200, 283, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QImage blank = image.copy();
  {
    QPainter painter(&image);
    cut.report->paintPage(2, painter);
    cut.report->paintPage(1, painter);
  }
  EXPECT_EQ(image, blank);
  const Status pdf = cut.report->writePdf(cut.aux.file(u"cut.pdf"_s));
  EXPECT_TRUE(pdf.description().contains(u"TarquelasAux.txt"_s)) << pdf.description().toStdString();
  EXPECT_FALSE(QFile::exists(cut.aux.file(u"cut.pdf"_s)));
}

// What is at a path: a plain file's bytes, or its kind.
QByteArray stateOf(const QString& path) {
  const QFileInfo at(path);
  return !at.exists()  ? "nothing"
         : at.isFile() ? "file: " + readBytes(path)
         : at.isDir()  ? "folder"
                       : "other"_ba;
}

TEST(PdfTest, FailedOrCancelledWriteNamesThePathAndLeavesWhatWasThere) {
  std::vector<QByteArray> lines{headerLine()};
  for (int i = 0; i < 40; ++i) lines.push_back(detailLine({{vd::cuit, i % 2 ? "20123456786" : kOtherCuit}}));
  Built built(lines);
  ASSERT_TRUE(built.report.has_value());
  signal(SIGXFSZ, SIG_IGN);
  struct Cancel final : Progress {
    bool report(Stage, qint64, qint64) override { return !atOnce; }
    bool atOnce = false;
  } progress;
  const auto earlier = [](const QString& p) { return writeBytes(p, "earlier"); };
  const struct {
    const char* file;
    bool (*prepare)(const QString& path);
    rlim_t sizeLimit;  // fails writes part-way as a full disk does
    bool cancelled;
  } cases[] = {
      // clang-format off
      {"no-such-folder/out.pdf", [](const QString&) { return true; }, RLIM_INFINITY, false},
      {"full.pdf", earlier, 16 * 1024, false},
      {"folder.pdf", [](const QString& p) { return QDir().mkdir(p); }, RLIM_INFINITY, false},
      {"pipe", [](const QString& p) { return mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }, RLIM_INFINITY,
       false},
      {"cancelled.pdf", earlier, RLIM_INFINITY, true},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = built.aux.file(QString::fromLatin1(c.file));
    ASSERT_TRUE(c.prepare(path));
    const QByteArray before = stateOf(path);
    progress.atOnce = c.cancelled;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{std::min(c.sizeLimit, saved.rlim_max), saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = built.report->writePdf(path, progress);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(status.code(), c.cancelled ? Status::Code::Cancelled : Status::Code::Error);
    EXPECT_TRUE(c.cancelled || status.description().contains(path)) << status.description().toStdString();
    EXPECT_EQ(stateOf(path), before);
  }
}

}  // namespace
}  // namespace tarquelas::voucher
