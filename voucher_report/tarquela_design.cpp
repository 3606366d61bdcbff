#include "voucher_report/tarquela_design.h"

using namespace Qt::StringLiterals;

// The pictures live in this static library's resources, which the linker
// keeps only when something names them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace tarquelas::voucher {

using report::Borders;
using report::Control;
using report::ControlKind;
using report::Edge;
using report::Section;
using report::SectionKind;
using report::TextStyle;

namespace {

// The text styles of the layout.
enum class Look {
  Bold9,              // Verdana 9 pt bold
  Bold9Right,         //   right-aligned
  Bold9Framed,        //   thick border all round
  Bold9FramedCentre,  //   centred, thick border all round
  Bold9OpenRight,     //   thick border except on the right
  Plain9Right,        // Verdana 9 pt, right-aligned
  ColumnHeading,      // 9 pt bold, centred, #404040 on #C0C0C0, thin border all round
  TotalTitle,         // 9 pt, right, white, thin border except right
  TotalValue,         // 9 pt, right, white, thin border except left
  TotalTitleBold,     // 9 pt bold, right, white, thick border except right
  TotalValueBold,     // 9 pt bold, right, white, thick border except left
  Bold9TwoLines,      // 9 pt bold, two lines
  Small7,             // Verdana 7 pt
  Small7Lines,        //   several lines
  Small7Grey,         //   centred, #808080
  Small7Centred,      //   centred
  Small7BoldCentred,  // 7 pt bold centred
  Tiny6,              // Verdana 6 pt
  CutLine,            // Tahoma 8.5 pt
};

struct LookRow {
  Look look;
  int sizeTwips;
  bool bold;
  Qt::Alignment alignment;
  QRgb color;
  QRgb background;  // 0: transparent
  Borders borders;
  bool multiLine;
};

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;
constexpr Edge kThin = Edge::Thin;
constexpr Edge kThick = Edge::Thick;

constexpr LookRow kLooks[] = {
    {Look::Bold9, 180, true, Qt::AlignLeft, kBlack, 0, {}, false},
    {Look::Bold9Right, 180, true, Qt::AlignRight, kBlack, 0, {}, false},
    {Look::Bold9Framed, 180, true, Qt::AlignLeft, kBlack, 0, Borders::all(kThick), false},
    {Look::Bold9FramedCentre, 180, true, Qt::AlignHCenter, kBlack, 0, Borders::all(kThick), false},
    {Look::Bold9OpenRight, 180, true, Qt::AlignLeft, kBlack, 0, Borders::allButRight(kThick), false},
    {Look::Plain9Right, 180, false, Qt::AlignRight, kBlack, 0, {}, false},
    {Look::ColumnHeading, 180, true, Qt::AlignHCenter, 0xff404040, 0xffc0c0c0, Borders::all(kThin), false},
    {Look::TotalTitle, 180, false, Qt::AlignRight, kBlack, kWhite, Borders::allButRight(kThin), false},
    {Look::TotalValue, 180, false, Qt::AlignRight, kBlack, kWhite, Borders::allButLeft(kThin), false},
    {Look::TotalTitleBold, 180, true, Qt::AlignRight, kBlack, kWhite, Borders::allButRight(kThick), false},
    {Look::TotalValueBold, 180, true, Qt::AlignRight, kBlack, kWhite, Borders::allButLeft(kThick), false},
    {Look::Bold9TwoLines, 180, true, Qt::AlignLeft, kBlack, 0, {}, true},
    {Look::Small7, 140, false, Qt::AlignLeft, kBlack, 0, {}, false},
    {Look::Small7Lines, 140, false, Qt::AlignLeft, kBlack, 0, {}, true},
    {Look::Small7Grey, 140, false, Qt::AlignHCenter, 0xff808080, 0, {}, false},
    {Look::Small7Centred, 140, false, Qt::AlignHCenter, kBlack, 0, {}, false},
    {Look::Small7BoldCentred, 140, true, Qt::AlignHCenter, kBlack, 0, {}, false},
    {Look::Tiny6, 120, false, Qt::AlignLeft, kBlack, 0, {}, false},
    {Look::CutLine, 170, false, Qt::AlignLeft, kBlack, 0, {}, false},
};

const LookRow& lookRow(Look look) {
  for (const LookRow& row : kLooks)
    if (row.look == look) return row;
  return kLooks[0];
}

TextStyle styleOf(Look look) {
  const LookRow& row = lookRow(look);
  TextStyle style;
  style.family = look == Look::CutLine ? u"Tahoma"_s : u"Verdana"_s;
  style.sizeTwips = row.sizeTwips;
  style.bold = row.bold;
  style.alignment = row.alignment;
  style.color = QColor::fromRgba(row.color);
  if (row.background) style.background = QColor::fromRgba(row.background);
  style.multiLine = row.multiLine;
  return style;
}

Borders bordersOf(Look look) { return lookRow(look).borders; }

struct LabelRow {
  QStringView name;
  int left, top, width, height;
  QStringView text;
  Look look;
};

struct LineRow {
  QStringView name;
  int x1, y1, x2, y2;
};

struct BoxRow {  // images, shapes, bar code
  QStringView name;
  int left, top, width, height;
  QStringView picture;
  int pictureWidth = 0, pictureHeight = 0;  // in the layout's pixels, 96 an inch
};

// Twips in one of the layout's picture pixels.
constexpr int kTwipsPerPicturePixel = report::kTwipsPerInch / 96;

constexpr QStringView kSinBarraLine1 =
    u"ESTA TARQUELA SE DEBITARA DIRECTAMENTE EN SU CUENTA BANCARIA INFORMADA.";
constexpr QStringView kSinBarraLine2 = u"NO ABONAR EN VENTANILLA.";

constexpr LabelRow kHeadingLabels[] = {
    {u"lblInstitucion", 142, 142, 9779, 283, u"INSTITUCION", Look::Bold9Framed},
    {u"NroFormulario", 9921, 142, 709, 283, u"F0101", Look::Bold9FramedCentre},
    {u"lblCUIT", 2976, 567, 6945, 283, u"CUIT:", Look::Bold9},
    {u"lblNN", 10063, 567, 709, 283, u"N/N", Look::Plain9Right},
    {u"lblConsorcio", 2976, 850, 7796, 567, u"CONSORCIO:", Look::Bold9TwoLines},
    {u"lblPeriodo", 2976, 1417, 2693, 284, u"PERIODO:", Look::Bold9},
    {u"lblDeclaracion", 5811, 1417, 4961, 284, u"DECLARACION:", Look::Bold9},
    {u"lblNumeroDeTarquela", 2976, 1701, 2693, 283, u"N\u00ba TARQUELA:", Look::Bold9},
    {u"lblVencimiento", 5811, 1701, 4961, 283, u"VENCIMIENTO:", Look::Bold9},
    {u"lblConcepto", 142, 2409, 3260, 284, u"CONCEPTO", Look::ColumnHeading},
    {u"lblImporte", 3402, 2409, 2692, 284, u"IMPORTE", Look::ColumnHeading},
    {u"lblInteres", 6094, 2409, 2268, 284, u"INTERES", Look::ColumnHeading},
    {u"lblTotal", 8362, 2409, 2410, 284, u"TOTAL", Look::ColumnHeading},
};

constexpr LineRow kHeadingLines[] = {
    {u"Line7", 2976, 850, 10630, 850},   {u"Line8", 2976, 1417, 10772, 1417},
    {u"Line9", 2976, 1701, 10772, 1701}, {u"Line10", 2976, 1984, 10772, 1984},
    {u"Line5", 142, 2409, 10772, 2409},
};

constexpr BoxRow kHeadingImages[] = {
    {u"Img01", 142, 425, 2693, 1984, u":/tarquelas/pictures/Img01.gif", 120, 107},
    {u"Img02", 142, 425, 2693, 1984, u":/tarquelas/pictures/Img02.gif", 140, 55},
    {u"Img03", 142, 425, 2409, 1984, u":/tarquelas/pictures/Img03.gif", 144, 182},
    {u"Img04", 142, 425, 2693, 1984, u":/tarquelas/pictures/Img04.gif", 101, 107},
    {u"Img08", 142, 425, 2693, 1984, u":/tarquelas/pictures/Img08.jpg", 160, 38},
};

struct FieldRow {
  QStringView name;
  int left, width;
  Qt::Alignment alignment;
};

constexpr FieldRow kDetailFields[] = {
    {u"txtConcepto", 135, 3255, Qt::AlignLeft},
    {u"txtImporte", 3405, 2625, Qt::AlignRight},
    {u"txtInteres", 6030, 2265, Qt::AlignRight},
    {u"txtTotalDeuda", 8295, 2475, Qt::AlignRight},
};

constexpr LabelRow kFooterLabels[] = {
    // The payer's stub.
    {u"lblTitTotalDeConceptos", 6030, 0, 2475, 285, u"TOTAL DE CONCEPTOS:", Look::TotalTitle},
    {u"lblTotalDeConceptos", 8505, 0, 2265, 285, u"SumDeConceptos", Look::TotalValue},
    {u"lblTitPagosACuenta", 6030, 285, 2475, 285, u"- PAGOS A CUENTA:", Look::TotalTitle},
    {u"lblTotalPagosACuenta", 8505, 285, 2265, 285, u"PagosACuenta", Look::TotalValue},
    {u"lblTitTotalAPagar", 6030, 570, 2475, 285, u"TOTAL A PAGAR:", Look::TotalTitleBold},
    {u"lblTotalAPagar", 8505, 570, 2265, 285, u"TotalAPagar", Look::TotalValueBold},
    {u"lblCantidadDeTrabajadores", 135, 900, 3840, 285, u"CANTIDAD DE TRABAJADORES:", Look::Bold9},
    {u"lblVencimiento2", 5220, 900, 5595, 285, u"VENCIMIENTO", Look::Bold9Right},
    {u"lblObservaciones", 135, 1170, 10635, 330, u"Observaciones", Look::Small7Lines},
    {u"lblTitSello", 285, 2265, 1560, 210, u"Sello Caja", Look::Small7Grey},
    {u"lblFormaDePago", 2415, 1695, 5385, 285, u"Forma de pago:", Look::Small7},
    {u"lblEfectivo", 7935, 1770, 855, 210, u"Efectivo", Look::Small7},
    {u"lblCheque", 9495, 1770, 855, 210, u"Cheque", Look::Small7},
    {u"lblChequeNro", 2415, 1980, 8370, 285, u"Cheque Nro:", Look::Small7},
    {u"lblBanco", 2415, 2265, 8370, 285, u"Banco:", Look::Small7},
    {u"lblLugaresHabilitados", 2385, 2595, 8385, 225, u"Lugares habilitados para el pago:", Look::Small7},
    {u"lblLugaresDePago", 2550, 2820, 8220, 510, kDesignPaymentPlaces, Look::Small7Lines},
    {u"lblSinBarra3", 1440, 3435, 8235, 195, kSinBarraLine1, Look::Small7BoldCentred},
    {u"lblSinBarra4", 1440, 3630, 8235, 195, kSinBarraLine2, Look::Small7BoldCentred},
    {u"lblCodigoDeBarra", 600, 3570, 9570, 285, u"Codigo de Barras:", Look::Small7Centred},
    {u"lblTalon1", 135, 4035, 5385, 135, u"Tal\u00f3n para el contribuyente", Look::Tiny6},
    {u"lblRayas", 135, 4110, 10635, 285, {}, Look::CutLine},
    {u"lblTalon2", 135, 4320, 5385, 135, u"Tal\u00f3n para el ente recaudador", Look::Tiny6},
    // The collecting office's stub.
    {u"lblInstitucion2", 142, 4819, 9779, 283, u"INSTITUCION", Look::Bold9OpenRight},
    {u"NroFormulario2", 9921, 4819, 709, 283, u"F0101", Look::Bold9FramedCentre},
    {u"lblCuit2", 142, 5244, 9496, 284, u"CUIT:", Look::Bold9},
    {u"lblNN2", 9921, 5244, 851, 284, u"N/N", Look::Bold9Right},
    {u"lblConsorcio2", 142, 5528, 10630, 425, u"CONSORCIO:", Look::Bold9TwoLines},
    {u"lblPeriodo2", 142, 5953, 3401, 283, u"PERIODO:", Look::Bold9},
    {u"lblDeclaracion2", 3543, 5953, 3260, 283, u"DECLARACION:", Look::Bold9},
    {u"lblVencimiento3", 6803, 5953, 3969, 283, u"VENCIMIENTO:", Look::Bold9Right},
    {u"lblNumeroDeTarquela2", 142, 6236, 3401, 284, u"N\u00ba TARQUELA:", Look::Bold9},
    {u"lblTotalAPagar2", 6661, 6236, 4111, 284, u"TOTAL A PAGAR:", Look::Bold9Right},
    {u"lblSinBarra1", 1276, 6945, 8220, 195, kSinBarraLine1, Look::Small7BoldCentred},
    {u"lblSinBarra2", 1275, 7140, 8220, 195, kSinBarraLine2, Look::Small7BoldCentred},
    {u"Label1", 0, 7795, 1276, 284, u"Forma de pago:", Look::Small7},
    {u"Label4", 1276, 7795, 708, 284, u"Efectivo", Look::Small7},
    {u"Label5", 2268, 7795, 708, 284, u"Cheque", Look::Small7},
    {u"Label2", 3260, 7795, 3260, 284, u"Cheque Nro:", Look::Small7},
    {u"Label3", 6520, 7795, 4110, 284, u"Banco:", Look::Small7},
};

constexpr LineRow kFooterLines[] = {
    {u"Line1", 2415, 1980, 10695, 1980},  {u"Line2", 2415, 2265, 10695, 2265},
    {u"Line3", 2415, 2550, 10695, 2550},  {u"Line11", 142, 5528, 10772, 5528},
    {u"Line17", 142, 5953, 10772, 5953},  {u"Line12", 142, 6236, 10772, 6236},
    {u"Line14", 142, 6520, 10772, 6520},  {u"Line18", 4110, 8079, 6520, 8079},
    {u"Line19", 7087, 8079, 10630, 8079},
};

constexpr BoxRow kFooterShapes[] = {
    {u"Shape1", 135, 1560, 1845, 1560, {}}, {u"Shape2", 8790, 1695, 285, 285, {}},
    {u"Shape3", 10275, 1695, 285, 285, {}}, {u"Shape5", 1984, 7795, 284, 284, {}},
    {u"Shape6", 2976, 7795, 284, 284, {}},
};

constexpr BoxRow kFooterImages[] = {
    {u"Image1", 10200, 3900, 570, 420, u":/tarquelas/pictures/Image1.gif", 28, 19},
};

constexpr BoxRow kBarCode = {u"Bar1", 2409, 6803, 7229, 851, {}};
constexpr QStringView kBarCodeDesignValue = u"12345678901234567890123456789012345678901234567890123456789";

struct SectionRow {
  QStringView name;
  SectionKind kind;
  int height;
};

Control labelOf(const LabelRow& row) {
  Control c;
  c.name = row.name.toString();
  c.kind = ControlKind::Label;
  c.rect = QRect(row.left, row.top, row.width, row.height);
  c.text = row.text.toString();
  c.style = styleOf(row.look);
  c.borders = bordersOf(row.look);
  return c;
}

Control lineOf(const LineRow& row) {
  Control c;
  c.name = row.name.toString();
  c.kind = ControlKind::Line;
  c.line = QLine(row.x1, row.y1, row.x2, row.y2);
  return c;
}

Control boxOf(const BoxRow& row, ControlKind kind) {
  Control c;
  c.name = row.name.toString();
  c.kind = kind;
  c.rect = QRect(row.left, row.top, row.width, row.height);
  c.picture = row.picture.toString();
  c.pictureSize = QSize(row.pictureWidth, row.pictureHeight) * kTwipsPerPicturePixel;
  return c;
}

Control fieldOf(const FieldRow& row) {
  Control c;
  c.name = row.name.toString();
  c.kind = ControlKind::TextField;
  c.rect = QRect(row.left, 0, row.width, 285);
  c.style = styleOf(Look::Plain9Right);
  c.style.alignment = row.alignment;
  c.borders = Borders::all(Edge::Thin);
  return c;
}

template <typename Row, typename Make>
void addAll(Section& section, std::span<const Row> rows, Make make) {
  for (const Row& row : rows) section.add(make(row));
}

void setUp(Section& section, QStringView name, SectionKind kind, int height) {
  section.name = name.toString();
  section.kind = kind;
  section.height = height;
}

void buildHeading(Section& s) {
  addAll<LabelRow>(s, kHeadingLabels, labelOf);
  addAll<LineRow>(s, kHeadingLines, lineOf);
  addAll<BoxRow>(s, kHeadingImages, [](const BoxRow& r) { return boxOf(r, ControlKind::Image); });
}

void buildFooter(Section& s) {
  addAll<LabelRow>(s, kFooterLabels, labelOf);
  s.control(u"lblRayas").text = cutLineText();
  addAll<LineRow>(s, kFooterLines, lineOf);
  addAll<BoxRow>(s, kFooterShapes, [](const BoxRow& r) { return boxOf(r, ControlKind::Shape); });
  addAll<BoxRow>(s, kFooterImages, [](const BoxRow& r) { return boxOf(r, ControlKind::Image); });
  Control& bar = s.add(boxOf(kBarCode, ControlKind::BarCode));
  bar.text = kBarCodeDesignValue.toString();
  bar.symbology = report::Symbology::Code128;
}

const FormVariant kVariants[] = {
    {u"F0101", u"Img01", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil", u"2/2",
     nullptr},
    {u"F0106", u"Img01", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil", u"1/2",
     nullptr},
    {u"F0201", u"Img02", u" \u2022 Banco de la Naci\u00f3n Argentina\r\n \u2022 Pago F\u00e1cil", u"",
     nullptr},
    {u"F0301", u"Img03", u" \u2022 Banco de la Naci\u00f3n Argentina", u"", nullptr},
    {u"F0401", u"Img04", u" \u2022 Banco Macro S.A. - Regi\u00f3n Jujuy", u"", nullptr},
    {u"F0808", u"Img08", u" \u2022 Pago F\u00e1cil\r\n \u2022 RapiPago\r\n \u2022 BaproPagos", u"",
     u"SERVICIO DE RESOLUCION ADECUADA DE CONFLICTOS PARA TRABAJADORES Y EMPLEADORES"},
};

}  // namespace

report::PageSettings voucherPage() {
  report::PageSettings page;  // A4
  page.top = 800;
  page.bottom = 800;
  page.left = 700;
  page.right = 400;
  return page;
}

QString cutLineText() { return u"- "_s.repeated(88); }

report::ReportDesign tarquelaDesign() {
  static const bool pictures = (initPictures(), true);
  (void)pictures;
  report::ReportDesign d;
  d.page = voucherPage();
  setUp(d.pageHeader, u"PageHeader", SectionKind::PageHeader, 0);
  setUp(d.groupHeaders[0], u"GroupHeaderCUIT", SectionKind::GroupHeader, 0);
  setUp(d.groupHeaders[1], u"GroupHeaderForm", SectionKind::GroupHeader, 2730);
  setUp(d.detail, u"Detail", SectionKind::Detail, 300);
  setUp(d.groupFooters[1], u"GroupFooterForm", SectionKind::GroupFooter, 8415);
  setUp(d.groupFooters[0], u"GroupFooterCUIT", SectionKind::GroupFooter, 0);
  setUp(d.pageFooter, u"PageFooter", SectionKind::PageFooter, 0);
  d.groupFooters[1].newPageAfter = true;
  buildHeading(d.groupHeaders[1]);
  addAll<FieldRow>(d.detail, kDetailFields, fieldOf);
  buildFooter(d.groupFooters[1]);
  return d;
}

std::span<const FormVariant> formVariants() { return kVariants; }

const FormVariant* findFormVariant(QStringView formCode) {
  const QString upper = formCode.toString().toUpper();
  for (const FormVariant& v : kVariants)
    if (v.code == upper) return &v;
  return nullptr;
}

}  // namespace tarquelas::voucher
