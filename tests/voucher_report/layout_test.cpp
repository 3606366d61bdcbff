#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>

#include "voucher_fixture.h"
#include "voucher_report/page_painter.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_report.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

using report::Control;
using report::ControlKind;
using report::Edge;

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tarquelas::testing::ensureGuiApp();
    // Pinned: the layout is checked against DejaVu Sans, what Debian gives
    // for Verdana, whatever this machine has.
    QFont::insertSubstitution(u"Verdana"_s, u"DejaVu Sans"_s);
  }
  report::ReportDesign design = tarquelaDesign();
};

TEST_F(LayoutTest, SectionsComeInLayoutOrderWithTheirHeights) {
  const struct {
    const char16_t* name;
    int height;
    std::size_t controls;
  } expected[] = {{u"PageHeader", 0, 0}, {u"GroupHeaderCUIT", 0, 0},     {u"GroupHeaderForm", 2730, 23},
                  {u"Detail", 300, 4},   {u"GroupFooterForm", 8415, 56}, {u"GroupFooterCUIT", 0, 0},
                  {u"PageFooter", 0, 0}};
  const auto sections = design.sections();
  ASSERT_EQ(sections.size(), std::size(expected));
  for (std::size_t i = 0; i < sections.size(); ++i) {
    EXPECT_EQ(sections[i]->name, QString::fromUtf16(expected[i].name));
    EXPECT_EQ(sections[i]->height, expected[i].height) << i;
    EXPECT_EQ(sections[i]->controls.size(), expected[i].controls) << i;
  }
  EXPECT_TRUE(design.groupFooters[1].newPageAfter);
}

TEST_F(LayoutTest, ControlsSitWhereTheDesignPutsThem) {
  const struct {
    const char16_t* name;
    QRect rect;
  } expected[] = {
      {u"lblInstitucion", {142, 142, 9779, 283}},
      {u"NroFormulario", {9921, 142, 709, 283}},
      {u"Img03", {142, 425, 2409, 1984}},
      {u"txtTotalDeuda", {8295, 0, 2475, 285}},
      {u"lblObservaciones", {135, 1170, 10635, 330}},
      {u"Bar1", {2409, 6803, 7229, 851}},
      {u"lblRayas", {135, 4110, 10635, 285}},
      {u"Image1", {10200, 3900, 570, 420}},
      {u"Shape1", {135, 1560, 1845, 1560}},
      {u"Label3", {6520, 7795, 4110, 284}},
  };
  for (const auto& e : expected) {
    const Control* c = design.findControl(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->rect, e.rect) << c->name.toStdString();
  }
  EXPECT_EQ(design.findControl(u"Line19")->line, QLine(7087, 8079, 10630, 8079));
}

TEST_F(LayoutTest, StylesFollowTheDesign) {
  const Control* institucion = design.findControl(u"lblInstitucion");
  EXPECT_TRUE(institucion->style.bold);
  EXPECT_EQ(institucion->borders.left, Edge::Thick);
  EXPECT_EQ(design.findControl(u"lblInstitucion2")->borders.right, Edge::None);
  const Control* concepto = design.findControl(u"lblConcepto");
  EXPECT_EQ(concepto->style.color, QColor(0x40, 0x40, 0x40));
  EXPECT_EQ(concepto->style.background, QColor(0xc0, 0xc0, 0xc0));
  EXPECT_EQ(design.findControl(u"lblTitTotalAPagar")->borders.right, Edge::None);
  EXPECT_EQ(design.findControl(u"lblTotalDeConceptos")->borders.left, Edge::None);
  EXPECT_EQ(design.findControl(u"lblRayas")->style.family, u"Tahoma");
  EXPECT_EQ(design.findControl(u"lblRayas")->style.sizeTwips, 170);
  EXPECT_EQ(design.findControl(u"lblRayas")->text, u"- "_s.repeated(88));
  EXPECT_EQ(design.findControl(u"lblNN")->style.bold, false);
}

TEST_F(LayoutTest, PrintedWidthFitsTheA4Paper) {
  int right = 0;
  for (report::Section* s : design.sections())
    for (const Control& c : s->controls)
      right = std::max(right, c.kind == ControlKind::Line ? std::max(c.line.x1(), c.line.x2())
                                                          : c.rect.x() + c.rect.width());
  EXPECT_EQ(right, 10815);
  EXPECT_LE(design.page.left + right, design.page.paperWidth);
  EXPECT_EQ(design.page.top, 800);
  EXPECT_EQ(design.page.bottom, 800);
  EXPECT_EQ(design.page.left, 700);
  EXPECT_EQ(design.page.right, 400);
}

TEST_F(LayoutTest, FontsArePinnedToDejaVu) {
  report::TextStyle verdana;
  verdana.family = u"Verdana"_s;
  EXPECT_EQ(QFontInfo(report::designFont(verdana)).family(), u"DejaVu Sans");
  report::TextStyle tahoma;
  tahoma.family = u"Tahoma"_s;
  const QString tahomaFamily = QFontInfo(report::designFont(tahoma)).family();
  EXPECT_TRUE(tahomaFamily == u"Tahoma" || tahomaFamily == u"DejaVu Sans") << tahomaFamily.toStdString();
}

bool fitsWidth(const Control& c, const QString& text) {
  const QRectF area = report::textArea(c.rect);
  const QFont font = report::fittedFont(c.style, report::displayText(text), area.size());
  const QFontMetricsF metrics(font);
  for (const QString& line : report::displayText(text).split(u'\n'))
    if (!c.style.multiLine && metrics.horizontalAdvance(line) > area.width()) return false;
  return true;
}

TEST_F(LayoutTest, EveryFixedTextFitsItsBoxAndKeepsMostOfItsSize) {
  for (report::Section* s : design.sections()) {
    for (const Control& c : s->controls) {
      if (c.kind != ControlKind::Label || c.text.isEmpty()) continue;
      const QRectF area = report::textArea(c.rect);
      const QFont fitted = report::fittedFont(c.style, report::displayText(c.text), area.size());
      EXPECT_TRUE(fitsWidth(c, c.text)) << c.name.toStdString();
      EXPECT_GE(fitted.pixelSize(), c.style.sizeTwips * 80 / 100) << c.name.toStdString();
    }
  }
}

TEST_F(LayoutTest, LongestFilledTextsFitWithoutCuttingAFigure) {
  const struct {
    const char16_t* control;
    QString text;
  } cases[] = {
      {u"lblInstitucion", u"SERVICIO DE RESOLUCION ADECUADA DE CONFLICTOS PARA TRABAJADORES Y EMPLEADORES"_s},
      {u"lblInstitucion", u"W"_s.repeated(80)},
      {u"lblTotalAPagar", u"999999,99"_s},
      {u"lblTotalAPagar2", u"TOTAL A PAGAR: 999999,99"_s},
      {u"lblCUIT", u"CUIT: 20-12345678-6  (9999999)"_s},
      {u"lblCodigoDeBarra", u"C\u00f3digo de barras: "_s + u"9"_s.repeated(59)},
      {u"lblVencimiento2", u"VENCIMIENTO: 31/12/2099"_s},
      {u"lblCantidadDeTrabajadores", u"CANTIDAD DE TRABAJADORES: 999"_s},
      {u"lblNumeroDeTarquela", u"N\u00ba TARQUELA: 99-99999999"_s},
      {u"lblNumeroDeTarquela2", u"N\u00ba TARQUELA: 99-99999999"_s},
      {u"lblPeriodo2", u"PERIODO: 12 - 2099"_s},
      {u"lblDeclaracion2", u"DECLARACION: 99"_s},
      {u"lblVencimiento3", u"VENCIMIENTO: 31/12/2099"_s},
  };
  for (const auto& c : cases) {
    const Control* control = design.findControl(c.control);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(fitsWidth(*control, c.text)) << control->name.toStdString();
  }
}

TEST_F(LayoutTest, PaymentPlacesOfEveryFormFitTheirThreeLines) {
  const Control* places = design.findControl(u"lblLugaresDePago");
  for (const FormVariant& v : formVariants()) {
    const QRectF area = report::textArea(places->rect);
    const QFont font =
        report::fittedFont(places->style, report::displayText(v.paymentPlaces.toString()), area.size());
    EXPECT_EQ(font.pixelSize(), places->style.sizeTwips) << v.code.toString().toStdString();
  }
}

TEST_F(LayoutTest, PageLayoutIsA4PortraitWithTheReportMargins) {
  const tarquelas::testing::AuxFile aux({tarquelas::testing::headerLine()});
  VoucherReport::BuildResult built = VoucherReport::build(aux.path());
  ASSERT_TRUE(built.report.has_value());
  const QPageLayout layout = built.report->pageLayout();
  EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
  EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
  EXPECT_EQ(layout.margins(QPageLayout::Point), QMarginsF(35, 40, 20, 40));
}

}  // namespace
}  // namespace tarquelas::voucher
