#include "voucher_report/rpt_tarquela.h"

#include <gtest/gtest.h>

#include "voucher_fixture.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_report.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

using tarquelas::testing::AuxFile;
using tarquelas::testing::Detail;
using tarquelas::testing::headerLine;
using tarquelas::testing::kZeroBarCode;
using tarquelas::testing::LaidOut;
using tarquelas::testing::shows;
using tarquelas::testing::textOn;

class RptTarquelaTest : public ::testing::Test {
 protected:
  void SetUp() override { tarquelas::testing::ensureGuiApp(); }
};

// ---------------------------------------------------------------- texts

TEST_F(RptTarquelaTest, HeadingShowsTheVoucherDataOfItsFirstRecord) {
  AuxFile aux({headerLine("03", "2009"), Detail().line()});
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 1);
  const report::Page& p = r.pages()[0];
  const struct {
    const char16_t* control;
    const char16_t* text;
  } cases[] = {
      {u"lblCUIT", u"CUIT: 20-12345678-6  (42)"},
      {u"NroFormulario", u"F0101"},
      {u"lblConsorcio", u"CONSORCIO: EDIFICIO PRUEBA"},
      {u"lblPeriodo", u"PERIODO: 03 - 2009"},
      {u"lblDeclaracion", u"DECLARACION: 01"},
      {u"lblNumeroDeTarquela", u"N\u00ba TARQUELA: 00-00012345"},
      {u"lblVencimiento", u"VENCIMIENTO: 15/04/2009"},
      {u"txtConcepto", u"CUOTA SOCIAL"},
      {u"txtImporte", u"10,00"},
      {u"txtInteres", u"0,50"},
      {u"txtTotalDeuda", u"10,50"},
      {u"lblTotalDeConceptos", u"123,45"},
      {u"lblTotalPagosACuenta", u"0,05"},
      {u"lblTotalAPagar", u"123456,78"},
      {u"lblCantidadDeTrabajadores", u"CANTIDAD DE TRABAJADORES: 7"},
      {u"lblVencimiento2", u"VENCIMIENTO: 15/04/2009"},
      {u"lblTotalAPagar2", u"TOTAL A PAGAR: 123456,78"},
      {u"NroFormulario2", u"F0101"},
      {u"lblCuit2", u"CUIT: 20-12345678-6  (42)"},
      {u"lblNN2", u"2/2"},
      {u"lblPeriodo2", u"PERIODO: 03 - 2009"},
      {u"lblVencimiento3", u"VENCIMIENTO: 15/04/2009"},
      {u"lblNumeroDeTarquela2", u"N\u00ba TARQUELA: 00-00012345"},
      {u"lblObservaciones", u""},
      {u"lblCodigoDeBarra",
       u"C\u00f3digo de barras: 12345678901234567890123456789012345678901234567890123456789"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(textOn(p, c.control), QString::fromUtf16(c.text))
        << QString::fromUtf16(c.control).toStdString();
  EXPECT_TRUE(textOn(p, u"lblInstitucion").startsWith(u"INSTITUTO DE PRUEBA"));
  EXPECT_EQ(textOn(p, u"lblInstitucion2"), textOn(p, u"lblInstitucion"));
}

TEST_F(RptTarquelaTest, ConsortiumNumberBeyondThirtyTwoBitsPrintsWhole) {
  Detail d;
  d.consortium = "9999999";
  AuxFile aux({headerLine(), d.line()});
  LaidOut r(aux.path());
  EXPECT_EQ(textOn(r.pages()[0], u"lblCUIT"), u"CUIT: 20-12345678-6  (9999999)");
}

TEST_F(RptTarquelaTest, FormF0808ListsTheWorkersCuils) {
  Detail d;
  d.form = "F0808";
  d.observations = "Trabajadores: 20123456786, 20000000011 -";
  AuxFile aux({headerLine(), d.line()});
  LaidOut r(aux.path());
  EXPECT_EQ(textOn(r.pages()[0], u"lblObservaciones"), u"CUILES: 20123456786, 20000000011");
}

TEST_F(RptTarquelaTest, ObservationsOfOtherFormsAreNeverPrinted) {
  for (const QByteArray& form : {QByteArray("F0101"), QByteArray("f0808")}) {
    Detail d;
    d.form = form;
    d.observations = "Trabajadores: 20123456786 -";
    AuxFile aux({headerLine(), d.line()});
    LaidOut r(aux.path());
    EXPECT_EQ(textOn(r.pages()[0], u"lblObservaciones"), QString()) << form.constData();
  }
}

// ---------------------------------------------------------------- bar code

TEST_F(RptTarquelaTest, ZeroBarCodeShowsTheFourNoticesAndNoCode) {
  Detail d;
  d.barCode = kZeroBarCode;
  AuxFile aux({headerLine(), d.line()});
  LaidOut r(aux.path());
  const report::Page& p = r.pages()[0];
  for (const char16_t* notice : {u"lblSinBarra1", u"lblSinBarra2", u"lblSinBarra3", u"lblSinBarra4"})
    EXPECT_TRUE(shows(p, notice)) << QString::fromUtf16(notice).toStdString();
  EXPECT_FALSE(shows(p, u"Bar1"));
  EXPECT_FALSE(shows(p, u"lblCodigoDeBarra"));
}

TEST_F(RptTarquelaTest, BarCodeHidesTheNotices) {
  AuxFile aux({headerLine(), Detail().line()});
  LaidOut r(aux.path());
  const report::Page& p = r.pages()[0];
  EXPECT_EQ(textOn(p, u"Bar1"), QString::fromLatin1(tarquelas::testing::kBarCode59));
  for (const char16_t* notice : {u"lblSinBarra1", u"lblSinBarra2", u"lblSinBarra3", u"lblSinBarra4"})
    EXPECT_FALSE(shows(p, notice)) << QString::fromUtf16(notice).toStdString();
}

TEST_F(RptTarquelaTest, BarCodeFieldWithLettersPrintsItsTextButNoBars) {
  Detail d;
  d.barCode = "1234567890123456789012345678901234567890123456789012345678X";
  AuxFile aux({headerLine(), d.line()});
  LaidOut r(aux.path());
  EXPECT_EQ(textOn(r.pages()[0], u"Bar1"), QString());
  EXPECT_TRUE(textOn(r.pages()[0], u"lblCodigoDeBarra").endsWith(u"678X"));
}

// ---------------------------------------------------------------- forms

struct FormCase {
  const char* code;
  const char16_t* logo;  // nullptr: none
  const char16_t* places;
  const char16_t* partNumber;
};

class FormVariantTest : public RptTarquelaTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(FormVariantTest, ShowsItsLogoPlacesAndPartNumber) {
  Detail d;
  d.form = GetParam().code;
  AuxFile aux({headerLine(), d.line()});
  LaidOut r(aux.path());
  const report::Page& p = r.pages()[0];
  for (QStringView logo : kLogos)
    EXPECT_EQ(shows(p, logo), GetParam().logo && logo == QStringView(GetParam().logo))
        << logo.toString().toStdString();
  EXPECT_EQ(textOn(p, u"lblLugaresDePago"), QString::fromUtf16(GetParam().places));
  EXPECT_EQ(textOn(p, u"lblNN"), QString::fromUtf16(GetParam().partNumber));
  EXPECT_EQ(textOn(p, u"lblNN2"), QString::fromUtf16(GetParam().partNumber));
  EXPECT_EQ(textOn(p, u"NroFormulario"), QString::fromLatin1(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormVariantTest,
    ::testing::Values(
        FormCase{"F0101", u"Img01", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil",
                 u"2/2"},
        FormCase{"f0101", u"Img01", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil",
                 u"2/2"},
        FormCase{"F0106", u"Img01", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil",
                 u"1/2"},
        FormCase{"F0201", u"Img02", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil",
                 u""},
        FormCase{"F0301", u"Img03", u" \u2022 Banco de la Naci\u00f3n Argentina", u""},
        FormCase{"F0401", u"Img04", u" \u2022 Banco Macro S.A. - Regi\u00f3n Jujuy", u""},
        FormCase{"F0808", u"Img08", u" \u2022 Pago F\u00e1cil\r\n \u2022 RapiPago\r\n \u2022 BaproPagos",
                 u""},
        FormCase{"X9999", nullptr, u"\u2022 Banco de la Naci\u00f3n Argentina", u"N/N"}));

TEST_F(RptTarquelaTest, FormF0808PrintsTheFixedTitleInBothStubs) {
  for (const QByteArray& form : {QByteArray("F0808"), QByteArray("f0808")}) {
    Detail d;
    d.form = form;
    AuxFile aux({headerLine(), d.line()});
    LaidOut r(aux.path());
    const QString title = u"SERVICIO DE RESOLUCION ADECUADA DE CONFLICTOS PARA TRABAJADORES Y EMPLEADORES"_s;
    EXPECT_EQ(textOn(r.pages()[0], u"lblInstitucion"), title);
    EXPECT_EQ(textOn(r.pages()[0], u"lblInstitucion2"), title);
  }
}

TEST_F(RptTarquelaTest, UnknownFormAfterF0106ShowsNoLogoAndTheDesignTexts) {
  Detail first;
  first.form = "F0106";
  Detail unknown;
  unknown.form = "Z0001";
  unknown.institution = "OTRA INSTITUCION";
  AuxFile aux({headerLine(), first.line(), unknown.line()});
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 2);
  const report::Page& p = r.pages()[1];
  for (QStringView logo : kLogos) EXPECT_FALSE(shows(p, logo));
  EXPECT_EQ(textOn(p, u"lblNN"), u"N/N");
  EXPECT_EQ(textOn(p, u"lblNN2"), u"N/N");
  EXPECT_EQ(textOn(p, u"lblLugaresDePago"), kDesignPaymentPlaces.toString());
  EXPECT_TRUE(textOn(p, u"lblInstitucion").startsWith(u"OTRA INSTITUCION"));
}

// ---------------------------------------------------------------- grouping

TEST_F(RptTarquelaTest, SameKeysMakeOneVoucherWithTwoConceptLines) {
  Detail a, b;
  a.conceptText = "PRIMERO";
  b.conceptText = "SEGUNDO";
  b.totalToPay = "00000777";
  AuxFile aux({headerLine(), a.line(), b.line()});
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 1);
  const auto concepts = tarquelas::testing::itemsNamed(r.pages()[0], u"txtConcepto");
  ASSERT_EQ(concepts.size(), 2u);
  EXPECT_EQ(concepts[0]->text, u"PRIMERO");
  EXPECT_EQ(concepts[1]->text, u"SEGUNDO");
  EXPECT_EQ(concepts[1]->origin.y() - concepts[0]->origin.y(), 300);
  // The totals come from the voucher's last record.
  EXPECT_EQ(textOn(r.pages()[0], u"lblTotalAPagar"), u"7,77");
  EXPECT_EQ(tarquelas::testing::itemsNamed(r.pages()[0], u"lblCUIT").size(), 1u);
}

TEST_F(RptTarquelaTest, HeadingAndStubCopiesComeFromTheFirstRecordFooterFromTheLast) {
  Detail first, last;
  last.consortiumName = "OTRO NOMBRE";
  last.dueDate = "20091231";
  last.voucherNumber = "0000000077";
  last.totalToPay = "00000999";
  last.workers = "002";
  last.barCode = kZeroBarCode;
  AuxFile aux({headerLine(), first.line(), last.line()});
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 1);
  const report::Page& p = r.pages()[0];
  const struct {
    const char16_t* control;
    const char16_t* text;
  } cases[] = {
      {u"lblConsorcio", u"CONSORCIO: EDIFICIO PRUEBA"},
      {u"lblConsorcio2", u"CONSORCIO: EDIFICIO PRUEBA"},
      {u"lblVencimiento", u"VENCIMIENTO: 15/04/2009"},
      {u"lblVencimiento3", u"VENCIMIENTO: 15/04/2009"},
      {u"lblNumeroDeTarquela2", u"N\u00ba TARQUELA: 00-00012345"},
      {u"lblVencimiento2", u"VENCIMIENTO: 31/12/2009"},
      {u"lblTotalAPagar", u"9,99"},
      {u"lblTotalAPagar2", u"TOTAL A PAGAR: 9,99"},
      {u"lblCantidadDeTrabajadores", u"CANTIDAD DE TRABAJADORES: 2"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(textOn(p, c.control), QString::fromUtf16(c.text))
        << QString::fromUtf16(c.control).toStdString();
  // The last record has no bar code: the notices, not the first record's bars.
  EXPECT_FALSE(shows(p, u"Bar1"));
  EXPECT_TRUE(shows(p, u"lblSinBarra1"));
}

TEST_F(RptTarquelaTest, EachChangeOfKeyStartsAVoucherOnItsOwnPage) {
  Detail a, sameCuitOtherForm, otherCuit;
  sameCuitOtherForm.form = "F0301";
  otherCuit.cuit = "20000000011";
  AuxFile aux({headerLine(), a.line(), a.line(), sameCuitOtherForm.line(), otherCuit.line()});
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 3);
  EXPECT_EQ(textOn(r.pages()[0], u"NroFormulario"), u"F0101");
  EXPECT_EQ(textOn(r.pages()[1], u"NroFormulario"), u"F0301");
  EXPECT_EQ(textOn(r.pages()[2], u"lblCUIT"), u"CUIT: 20-00000001-1  (42)");
  EXPECT_EQ(r.report->voucherCount(), 3);
}

TEST_F(RptTarquelaTest, VoucherWithManyConceptsContinuesOverPagesLosingNone) {
  std::vector<QByteArray> lines{headerLine()};
  for (int i = 0; i < 100; ++i) {
    Detail d;
    d.conceptText = "CONCEPTO " + QByteArray::number(i);
    lines.push_back(d.line());
  }
  AuxFile aux(lines);
  LaidOut r(aux.path());
  ASSERT_EQ(r.pageCount(), 3);
  int concepts = 0;
  for (const report::Page& p : r.pages()) {
    for (const auto* item : tarquelas::testing::itemsNamed(p, u"txtConcepto")) {
      EXPECT_EQ(item->text, u"CONCEPTO "_s + QString::number(concepts));
      EXPECT_LE(item->rectOnPage().bottom(), 16838 - 800) << "concept " << concepts << " below the body";
      ++concepts;
    }
  }
  EXPECT_EQ(concepts, 100);
  EXPECT_TRUE(shows(r.pages()[2], u"lblTotalAPagar"));
  EXPECT_FALSE(shows(r.pages()[1], u"lblCUIT"));
}

// ---------------------------------------------------------------- hand-edited files

TEST_F(RptTarquelaTest, HeaderAloneGivesAnEmptyReport) {
  AuxFile aux({headerLine()});
  LaidOut r(aux.path());
  EXPECT_TRUE(r.status.isOk());
  EXPECT_EQ(r.pageCount(), 0);
}

TEST_F(RptTarquelaTest, MissingFileGivesAnEmptyReport) {
  LaidOut r(QStringLiteral("/nonexistent/TarquelasAux.txt"));
  EXPECT_TRUE(r.status.isOk());
  EXPECT_EQ(r.pageCount(), 0);
  EXPECT_EQ(r.report->lineCount(), 0);
}

TEST_F(RptTarquelaTest, ShortAndGarbledLinesNeverCrash) {
  Detail letters;
  letters.amount = "ABCDEFGH";
  letters.workers = "X1Y";
  letters.consortium = "ABC";
  letters.voucherNumber = "12-34";
  const std::vector<QByteArray> lines{headerLine(),
                                      "",
                                      "short line",
                                      letters.line(),
                                      letters.line().left(300),
                                      headerLine("12", "2010"),
                                      Detail().line(),
                                      QByteArray(900, 'Z')};
  AuxFile aux(lines);
  LaidOut r(aux.path());
  EXPECT_TRUE(r.status.isOk());
  EXPECT_GE(r.pageCount(), 1);
}

TEST_F(RptTarquelaTest, BuildCountsPagesAndPaintsThem) {
  Detail other;
  other.form = "F0301";
  AuxFile aux({headerLine(), Detail().line(), other.line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.status.isOk());
  EXPECT_EQ(built.report->pageCount(), 2);
}

TEST_F(RptTarquelaTest, CancelledLayoutStopsAndSaysSo) {
  struct CancelAtOnce final : Progress {
    bool report(Stage, qint64, qint64) override { return false; }
  } cancel;
  AuxFile aux({headerLine(), Detail().line(), Detail().line()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path(), cancel);
  EXPECT_TRUE(built.status.isCancelled());
  EXPECT_FALSE(built.report.has_value());
}

}  // namespace
}  // namespace tarquelas::voucher
