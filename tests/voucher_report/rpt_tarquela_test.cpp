// The voucher report laid out from auxiliary files: its texts, forms,
// grouping into vouchers, hand-edited files, and texts that fit their boxes.
#include "voucher_report/rpt_tarquela.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "voucher_fixture.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/text_fit.h"
#include "voucher_report/voucher_report.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

using namespace tarquelas::testing;

[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

const QString kHidden = u"<hidden>"_s, kShown = u"<shown>"_s;

struct ShownCase {
  const char16_t* control;
  QString text;  // or kHidden, or kShown for any text
};

void expectTexts(const report::Page& page, const std::vector<ShownCase>& cases) {
  for (const ShownCase& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.control).toStdString());
    if (c.text == kShown)
      EXPECT_NE(textOn(page, c.control), kHidden);
    else
      EXPECT_EQ(textOn(page, c.control), c.text);
  }
}

TEST(RptTarquelaTest, OneVoucherTakesHeadingAndStubCopiesFromItsFirstRecordAndTotalsFromItsLast) {
  Detail first, last;
  first.conceptText = "PRIMERO";
  first.dueDate = "20091231";
  first.conceptsTotal = first.payments = first.totalToPay = "00000999";
  first.workers = "002";
  first.barCode = kZeroBarCode;
  last.conceptText = "SEGUNDO";
  last.consortiumName = "OTRO NOMBRE";
  last.voucherNumber = "0000000077";
  LaidOut r({headerLine("03", "2009"), first.line(), last.line()});
  ASSERT_EQ(r.pageCount(), 1);
  const report::Page& p = r.page(0);
  const QString code = QString::fromLatin1(kBarCode59);
  // clang-format off
  expectTexts(p, {
      {u"lblCUIT", u"CUIT: 20-12345678-6  (42)"_s}, {u"lblCuit2", u"CUIT: 20-12345678-6  (42)"_s},
      {u"NroFormulario", u"F0101"_s}, {u"NroFormulario2", u"F0101"_s}, {u"lblNN2", u"2/2"_s},
      {u"lblConsorcio", u"CONSORCIO: EDIFICIO PRUEBA"_s}, {u"lblConsorcio2", u"CONSORCIO: EDIFICIO PRUEBA"_s},
      {u"lblPeriodo", u"PERIODO: 03 - 2009"_s}, {u"lblPeriodo2", u"PERIODO: 03 - 2009"_s},
      {u"lblDeclaracion", u"DECLARACION: 01"_s},
      {u"lblNumeroDeTarquela", u"N\u00ba TARQUELA: 00-00012345"_s},
      {u"lblNumeroDeTarquela2", u"N\u00ba TARQUELA: 00-00012345"_s},
      {u"lblVencimiento", u"VENCIMIENTO: 31/12/2009"_s}, {u"lblVencimiento3", u"VENCIMIENTO: 31/12/2009"_s},
      {u"txtImporte", u"10,00"_s}, {u"txtInteres", u"0,50"_s}, {u"txtTotalDeuda", u"10,50"_s},
      // the last record's
      {u"lblVencimiento2", u"VENCIMIENTO: 15/04/2009"_s},
      {u"lblTotalDeConceptos", u"123,45"_s}, {u"lblTotalPagosACuenta", u"0,05"_s},
      {u"lblTotalAPagar", u"123456,78"_s}, {u"lblTotalAPagar2", u"TOTAL A PAGAR: 123456,78"_s},
      {u"lblCantidadDeTrabajadores", u"CANTIDAD DE TRABAJADORES: 7"_s},
      {u"lblObservaciones", QString()}, {u"lblSinBarra1", kHidden},
      {u"Bar1", code}, {u"lblCodigoDeBarra", u"C\u00f3digo de barras: "_s + code},
  });
  // clang-format on
  EXPECT_TRUE(textOn(p, u"lblInstitucion").startsWith(u"INSTITUTO DE PRUEBA"));
  EXPECT_EQ(textOn(p, u"lblInstitucion2"), textOn(p, u"lblInstitucion"));
  const auto concepts = itemsNamed(p, u"txtConcepto");
  ASSERT_EQ(concepts.size(), 2u);
  EXPECT_EQ(concepts[0]->text, u"PRIMERO");
  EXPECT_EQ(concepts[1]->text, u"SEGUNDO");
  EXPECT_EQ(concepts[1]->origin.y() - concepts[0]->origin.y(), 300);
  EXPECT_EQ(itemsNamed(p, u"lblCUIT").size(), 1u);
}

TEST(RptTarquelaTest, RecordFieldsShowAsTheirFormSays) {
  const QString title = u"SERVICIO DE RESOLUCION ADECUADA DE CONFLICTOS PARA TRABAJADORES Y EMPLEADORES"_s;
  const QString lettered = QString::fromLatin1(kBarCode59.left(58)) + u'X';
  const struct {
    QByteArray form, observations, consortium, barCode;
    std::vector<ShownCase> shown;
  } cases[] = {
      // clang-format off
      {"F0101", "", "9999999", kBarCode59, {{u"lblCUIT", u"CUIT: 20-12345678-6  (9999999)"_s}}},
      {"F0808", "Trabajadores: 20123456786, 20000000011 -", "0000042", kBarCode59,
       {{u"lblObservaciones", u"CUILES: 20123456786, 20000000011"_s},
        {u"lblInstitucion", title}, {u"lblInstitucion2", title}}},
      {"f0808", "Trabajadores: 20123456786 -", "0000042", kBarCode59,
       {{u"lblObservaciones", QString()}, {u"lblInstitucion", title}}},
      {"F0101", "Trabajadores: 20123456786 -", "0000042", kBarCode59, {{u"lblObservaciones", QString()}}},
      // 59 zeros are the notices; a value that is not 59 digits prints its
      // text and draws no bars
      {"F0101", "", "0000042", kZeroBarCode,
       {{u"Bar1", kHidden}, {u"lblCodigoDeBarra", kHidden}, {u"lblSinBarra1", kShown},
        {u"lblSinBarra2", kShown}, {u"lblSinBarra3", kShown}, {u"lblSinBarra4", kShown}}},
      {"F0101", "", "0000042", lettered.toLatin1(),
       {{u"Bar1", QString()}, {u"lblCodigoDeBarra", u"C\u00f3digo de barras: "_s + lettered}}},
      {"F0101", "", "0000042", "12345", {{u"Bar1", QString()}, {u"lblSinBarra1", kHidden}}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.form + ' ' + c.barCode).toStdString());
    Detail d;
    std::tie(d.form, d.observations, d.consortium, d.barCode) =
        std::tie(c.form, c.observations, c.consortium, c.barCode);
    LaidOut r({headerLine(), d.line()});
    ASSERT_EQ(r.pageCount(), 1);
    expectTexts(r.page(0), c.shown);
  }
}

// Each after a voucher of F0106, whose logo, places and part number must not
// linger on a form that has none of its own.
TEST(RptTarquelaTest, EachFormShowsItsLogoPaymentPlacesAndPartNumber) {
  const QString nacion = u" \u2022 Banco de la Naci\u00f3n Argentina"_s;
  const QString twoPlaces = nacion + u"\r\n \u2022 Pago F\u00e1cil"_s;
  const struct {
    QByteArray code;
    const char16_t* logo;  // nullptr: none
    QString places, partNumber;
  } cases[] = {
      // clang-format off
      {"F0101", u"Img01", twoPlaces, u"2/2"_s},
      {"f0101", u"Img01", twoPlaces, u"2/2"_s},
      {"F0106", u"Img01", twoPlaces, u"1/2"_s},
      {"F0301", u"Img03", nacion, QString()},
      {"F0808", u"Img08", u" \u2022 Pago F\u00e1cil\r\n \u2022 RapiPago\r\n \u2022 BaproPagos"_s, QString()},
      {"X9999", nullptr, kDesignPaymentPlaces.toString(), u"N/N"_s},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code.constData());
    Detail previous, d;
    previous.form = "F0106";
    d.form = c.code;
    d.institution = "OTRA INSTITUCION";
    LaidOut r({headerLine(), previous.line(), d.line()});
    ASSERT_EQ(r.pageCount(), c.code == "F0106" ? 1 : 2);
    const report::Page& p = r.page(r.pageCount() - 1);
    for (QStringView logo : kLogos)
      expectTexts(p, {{logo.utf16(), c.logo && logo == QStringView(c.logo) ? kShown : kHidden}});
    expectTexts(p, {{u"lblLugaresDePago", c.places},
                    {u"lblNN", c.partNumber},
                    {u"lblNN2", c.partNumber},
                    {u"NroFormulario", QString::fromLatin1(c.code)}});
    if (r.pageCount() == 2 && c.code != "F0808") {
      EXPECT_TRUE(textOn(p, u"lblInstitucion").startsWith(u"OTRA INSTITUCION"));
    }
  }
}

TEST(RptTarquelaTest, EachChangeOfConsortiumOrFormStartsAVoucherOnItsOwnPage) {
  Detail a, sameCuitOtherForm, otherCuit;
  sameCuitOtherForm.form = "F0301";
  otherCuit.cuit = "20000000011";
  LaidOut r({headerLine(), a.line(), a.line(), sameCuitOtherForm.line(), otherCuit.line()});
  ASSERT_EQ(r.pageCount(), 3);
  EXPECT_EQ(r.index->voucherCount(), 3);
  EXPECT_EQ(textOn(r.page(0), u"NroFormulario"), u"F0101");
  EXPECT_EQ(textOn(r.page(1), u"NroFormulario"), u"F0301");
  EXPECT_EQ(textOn(r.page(2), u"lblCUIT"), u"CUIT: 20-00000001-1  (42)");
}

// A header record after the first line opens no voucher and loses no
// record; the vouchers after it take its period.
TEST(RptTarquelaTest, LaterHeaderIsSkippedAndGivesThePeriodOfTheVouchersAfterIt) {
  Detail d1, d2;
  d2.cuit = "20000000011";
  d1.conceptText = "PRIMERO";
  d2.conceptText = "SEGUNDO";
  d2.barCode = QByteArray(58, '1') + '2';
  LaidOut r({headerLine("03", "2009"), d1.line(), headerLine("11", "2010"), d2.line()});
  ASSERT_EQ(r.pageCount(), 2);
  EXPECT_EQ(r.index->voucherCount(), 2);
  const struct {
    QString conceptText, period;
    QByteArray barCode;
  } expected[] = {{u"PRIMERO"_s, u"PERIODO: 03 - 2009"_s, d1.barCode},
                  {u"SEGUNDO"_s, u"PERIODO: 11 - 2010"_s, d2.barCode}};
  for (int i = 0; i < 2; ++i) {
    const auto concepts = itemsNamed(r.page(i), u"txtConcepto");
    ASSERT_EQ(concepts.size(), 1u) << i;
    EXPECT_EQ(concepts[0]->text, expected[i].conceptText);
    expectTexts(r.page(i), {{u"lblPeriodo", expected[i].period},
                            {u"Bar1", QString::fromLatin1(expected[i].barCode)},
                            {u"lblCUIT", kShown}});
  }
}

// A4 holds the heading, 13 concepts of 300 twips and the footer; more move
// the footer on, and a voucher of many concepts continues over pages.
TEST(RptTarquelaTest, VoucherWithManyConceptsContinuesOverPagesLosingNone) {
  for (const auto& [count, pages] : {std::pair{13, 1}, {14, 2}, {100, 3}}) {
    SCOPED_TRACE(count);
    std::vector<QByteArray> lines{headerLine()};
    for (int i = 0; i < count; ++i) {
      Detail d;
      d.conceptText = "CONCEPTO " + QByteArray::number(i);
      lines.push_back(d.line());
    }
    LaidOut r(lines);
    ASSERT_EQ(r.pageCount(), pages);
    int concepts = 0;
    for (const report::Page& p : r.collector.pages) {
      for (const auto* item : itemsNamed(p, u"txtConcepto")) {
        EXPECT_EQ(item->text, u"CONCEPTO "_s + QString::number(concepts++));
        EXPECT_LE(item->rectOnPage().bottom(), 16838 - 800) << "below the body: " << item->text.toStdString();
      }
    }
    EXPECT_EQ(concepts, count);
    EXPECT_NE(textOn(r.page(pages - 1), u"lblTotalAPagar"), kHidden);
    if (pages > 1) {
      EXPECT_EQ(textOn(r.page(1), u"lblCUIT"), kHidden);  // no heading on a continuation
    }
  }
}

// Every placement on page as name@x,y:text, one a line.
QString pageText(const report::Page& page) {
  QString text;
  for (const report::PlacedItem& item : page.items)
    text +=
        u"%1@%2,%3:%4\n"_s.arg(item.control->name).arg(item.origin.x()).arg(item.origin.y()).arg(item.text);
  return text;
}

TEST(RptTarquelaTest, HandEditedOrMissingFilesNeverCrash) {
  Detail letters;
  letters.amount = "ABCDEFGH";
  letters.workers = "X1Y";
  letters.consortium = "ABC";
  letters.voucherNumber = "12-34";
  const LaidOut garbled({headerLine(), "", "short line", letters.line(), letters.line().left(300),
                         headerLine("12", "2010"), Detail().line(), QByteArray(900, 'Z')});
  EXPECT_TRUE(garbled.status.isOk());
  EXPECT_EQ(garbled.pageCount(), 3);
  // Each voucher laid out on its own, last first, gives what the whole run
  // gave: the period in force and the concept a record of another length
  // keeps come from the vouchers before it.
  std::vector<QString> alone(3);
  for (qint64 v = 2; v >= 0; --v) {
    report::PageCollector pages;
    ASSERT_TRUE(garbled.report->run(v, v, pages).isOk());
    ASSERT_EQ(pages.pages.size(), 1u);
    alone[std::size_t(v)] = pageText(pages.pages[0]);
  }
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(alone[i], pageText(garbled.page(i))) << i;
  EXPECT_EQ(textOn(garbled.page(2), u"txtConcepto"), u"CUOTA SOCIAL");
  const LaidOut headerAlone(std::vector<QByteArray>{headerLine()});
  const LaidOut missing(u"/nonexistent/TarquelasAux.txt"_s);
  for (const LaidOut* empty : {&headerAlone, &missing}) {
    EXPECT_TRUE(empty->status.isOk());
    EXPECT_EQ(empty->pageCount(), 0);
  }
}

TEST(RptTarquelaTest, CancelledLayoutStopsAndSaysSo) {
  struct CancelAtOnce final : Progress {
    bool report(Stage, qint64, qint64) override { return false; }
  } cancel;
  AuxFile aux({headerLine(), Detail().line(), Detail().line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path(), cancel);
  EXPECT_TRUE(built.status.isCancelled());
  EXPECT_FALSE(built.report.has_value());
}

// Whatever this machine has, texts are measured with DejaVu Sans, what
// Debian gives for Verdana.
bool fitsItsBox(const report::Control& c, const QString& text, int minSizePercent) {
  QFont::insertSubstitution(u"Verdana"_s, u"DejaVu Sans"_s);
  const QRectF area = report::textArea(c.rect);
  const QFont font = report::fittedFont(c.style, report::displayText(text), area.size());
  if (font.pixelSize() < c.style.sizeTwips * minSizePercent / 100) return false;
  const QFontMetricsF metrics(font);
  for (const QString& line : report::displayText(text).split(u'\n'))
    if (!c.style.multiLine && metrics.horizontalAdvance(line) > area.width()) return false;
  return true;
}

TEST(RptTarquelaTest, EveryTextFitsItsBoxAndThePageFitsTheA4Paper) {
  report::ReportDesign design = tarquelaDesign();
  int right = 0, labels = 0;
  for (report::Section* s : design.sections()) {
    for (const report::Control& c : s->controls) {
      const bool line = c.kind == report::ControlKind::Line;
      right = std::max(right, line ? std::max(c.line.x1(), c.line.x2()) : c.rect.right() + 1);
      if (c.kind == report::ControlKind::Label && !c.text.isEmpty()) {
        EXPECT_TRUE(fitsItsBox(c, c.text, 80)) << c.name.toStdString();
        ++labels;
      }
    }
  }
  EXPECT_GT(labels, 0);
  EXPECT_LE(design.page.left + right, design.page.paperWidth);
  // The longest texts the records can fill in, without cutting a figure.
  const QString date = u"VENCIMIENTO: 31/12/2099"_s, number = u"N\u00ba TARQUELA: 99-99999999"_s;
  const std::pair<const char16_t*, QString> filled[] = {
      // clang-format off
      {u"lblInstitucion", u"SERVICIO DE RESOLUCION ADECUADA DE CONFLICTOS PARA TRABAJADORES Y EMPLEADORES"_s},
      {u"lblInstitucion", u"W"_s.repeated(80)},
      {u"lblTotalAPagar", u"999999,99"_s}, {u"lblTotalAPagar2", u"TOTAL A PAGAR: 999999,99"_s},
      {u"lblCUIT", u"CUIT: 20-12345678-6  (9999999)"_s},
      {u"lblCodigoDeBarra", u"C\u00f3digo de barras: "_s + u"9"_s.repeated(59)},
      {u"lblCantidadDeTrabajadores", u"CANTIDAD DE TRABAJADORES: 999"_s},
      {u"lblNumeroDeTarquela", number}, {u"lblNumeroDeTarquela2", number},
      {u"lblVencimiento2", date}, {u"lblVencimiento3", date},
      {u"lblPeriodo2", u"PERIODO: 12 - 2099"_s}, {u"lblDeclaracion2", u"DECLARACION: 99"_s},
      // clang-format on
  };
  for (const auto& [control, text] : filled)
    EXPECT_TRUE(fitsItsBox(*design.findControl(control), text, 0)) << text.toStdString();
  for (const FormVariant& v : formVariants()) {  // the lines of places at full size
    EXPECT_TRUE(fitsItsBox(*design.findControl(u"lblLugaresDePago"), v.paymentPlaces.toString(), 100))
        << v.code.toString().toStdString();
  }
}

}  // namespace
}  // namespace tarquelas::voucher
