#include "voucher_report/rpt_tarquela.h"

#include <algorithm>

#include "declarations/voucher_layout.h"
#include "support/cp1252.h"
#include "support/fields.h"
#include "support/varias.h"
#include "voucher_report/tarquela_design.h"
#include "voucher_report/voucher_texts.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {

using report::Control;

namespace {

constexpr QByteArrayView kNoBarCode = "00000000000000000000000000000000000000000000000000000000000";

QByteArray cuitKey(QByteArrayView line) { return formatearCUIT(detail::cuit.in(line)); }

bool isBarCodeValue(QByteArrayView code) {
  if (code.size() != detail::barCode.length) return false;
  for (char ch : code)
    if (ch < '0' || ch > '9') return false;
  return true;
}

}  // namespace

// The controls the handlers fill, found once by name.
struct RptTarquela::Controls {
  explicit Controls(report::ReportDesign& d) : design(d) {}
  Control* operator()(QStringView name) const { return design.findControl(name); }
  report::ReportDesign& design;

  Control* lblInstitucion = (*this)(u"lblInstitucion");
  Control* NroFormulario = (*this)(u"NroFormulario");
  Control* lblCUIT = (*this)(u"lblCUIT");
  Control* lblNN = (*this)(u"lblNN");
  Control* lblConsorcio = (*this)(u"lblConsorcio");
  Control* lblPeriodo = (*this)(u"lblPeriodo");
  Control* lblDeclaracion = (*this)(u"lblDeclaracion");
  Control* lblNumeroDeTarquela = (*this)(u"lblNumeroDeTarquela");
  Control* lblVencimiento = (*this)(u"lblVencimiento");
  Control* txtConcepto = (*this)(u"txtConcepto");
  Control* txtImporte = (*this)(u"txtImporte");
  Control* txtInteres = (*this)(u"txtInteres");
  Control* txtTotalDeuda = (*this)(u"txtTotalDeuda");
  Control* lblTotalDeConceptos = (*this)(u"lblTotalDeConceptos");
  Control* lblTotalPagosACuenta = (*this)(u"lblTotalPagosACuenta");
  Control* lblTotalAPagar = (*this)(u"lblTotalAPagar");
  Control* lblCantidadDeTrabajadores = (*this)(u"lblCantidadDeTrabajadores");
  Control* lblObservaciones = (*this)(u"lblObservaciones");
  Control* lblVencimiento2 = (*this)(u"lblVencimiento2");
  Control* lblLugaresDePago = (*this)(u"lblLugaresDePago");
  Control* Bar1 = (*this)(u"Bar1");
  Control* lblCodigoDeBarra = (*this)(u"lblCodigoDeBarra");
  Control* lblSinBarra[4] = {(*this)(u"lblSinBarra1"), (*this)(u"lblSinBarra2"), (*this)(u"lblSinBarra3"),
                             (*this)(u"lblSinBarra4")};
  Control* lblTotalAPagar2 = (*this)(u"lblTotalAPagar2");

  // The second stub's copies: target from source.
  struct Copy {
    Control* to;
    Control* from;
  };
  Copy stubCopies[9] = {
      {(*this)(u"NroFormulario2"), NroFormulario},
      {(*this)(u"lblInstitucion2"), lblInstitucion},
      {(*this)(u"lblCuit2"), lblCUIT},
      {(*this)(u"lblNN2"), lblNN},
      {(*this)(u"lblConsorcio2"), lblConsorcio},
      {(*this)(u"lblPeriodo2"), lblPeriodo},
      {(*this)(u"lblVencimiento3"), lblVencimiento},
      {(*this)(u"lblDeclaracion2"), lblDeclaracion},
      {(*this)(u"lblNumeroDeTarquela2"), lblNumeroDeTarquela},
  };
};

RptTarquela::RptTarquela(const VoucherIndex& index)
    : index_(index),
      design_(tarquelaDesign()),
      designed_(tarquelaDesign()),
      c_(std::make_unique<Controls>(design_)) {
  if (index_.voucherCount() > 0) status_ = reader_.open(index_.path());
  design_.groupHeaders[1].format = [this] { groupHeaderFormFormat(); };
  design_.detail.format = [this] { detailFormat(); };
  design_.detail.afterPrint = [this] { detailAfterPrint(); };
}

RptTarquela::~RptTarquela() = default;  // ActiveReport_Terminate: the reader closes the file

Status RptTarquela::run(qint64 first, qint64 last, report::PageSink& sink) {
  if (!status_.isOk()) return status_;
  first_ = std::max<qint64>(first, 0);
  last_ = std::min(last, index_.voucherCount() - 1);
  if (first_ > last_) return Status::ok();
  report::ReportEvents events;
  events.reportStart = [this] { reportStart(); };
  events.hasData = [this] { return hasData(); };
  const Status status = report::runReport(design_, events, sink);
  if (!reader_.status().isOk()) return reader_.status();
  return status;
}

void RptTarquela::set(Control* control, QByteArrayView cp1252Text) { control->text = fromCp1252(cp1252Text); }

void RptTarquela::set(Control* control, const QByteArray& cp1252Text) {
  control->text = fromCp1252(cp1252Text);
}

void RptTarquela::takePeriod() {
  periodMonth_ = header::periodMonth.in(currentLine_).toByteArray();
  periodYear_ = header::periodYear.in(currentLine_).toByteArray();
}

void RptTarquela::setGroupKeys() {
  design_.groupHeaders[0].groupKey = fromCp1252(cuitKey(currentLine_));
  design_.groupHeaders[1].groupKey = fromCp1252(detail::formCode.in(currentLine_));
}

// Where a run over the whole file would stand at the first voucher's first
// record: the period in force, and the concept texts an earlier voucher
// left in the detail band.
void RptTarquela::reportStart() {
  restoreDesign();
  const VoucherEntry& first = index_.voucher(first_);
  periodMonth_ = index_.periodOf(first).month;
  periodYear_ = index_.periodOf(first).year;
  lastLine_ = index_.lastLine(last_);
  if (first.keptConcept >= 0) {
    lineIndex_ = lastLine_ - 1;  // room for one line
    moveTo(first.keptConcept);
    if (hasData()) fillDetail();
  }
  lineIndex_ = first.firstLine - 1;
  moveTo(first.offset);
  skipHeaders();
  if (hasData()) setGroupKeys();
}

void RptTarquela::restoreDesign() {
  const std::vector<report::Section*> now = design_.sections();
  const std::vector<report::Section*> designed = designed_.sections();
  for (std::size_t s = 0; s < now.size(); ++s) {
    for (std::size_t i = 0; i < now[s]->controls.size(); ++i) {
      now[s]->controls[i].text = designed[s]->controls[i].text;
      now[s]->controls[i].visible = designed[s]->controls[i].visible;
    }
  }
}

// Reads the line that begins at offset. The reader stays where it is when
// it is there already, as it is when vouchers are laid out in order.
void RptTarquela::moveTo(qint64 offset) {
  if (reader_.position() != offset && !reader_.seek(offset).isOk()) lineIndex_ = lastLine_;
  nextLine();
}

// The next line becomes the current line; past the run's last line, or at
// the end of a file shorter than it was, there is no more data.
void RptTarquela::nextLine() {
  std::optional<QByteArrayView> line;
  if (lineIndex_ < lastLine_) line = reader_.next();
  if (line) {
    currentLine_ = line->toByteArray();
    ++lineIndex_;
  } else {
    lineIndex_ = lastLine_ + 1;
  }
}

// A header record after the first line is no voucher's record: it gives
// the period of the vouchers that follow and the cursor moves past it, so
// no voucher is headed by it and no record is lost or read past the end.
void RptTarquela::skipHeaders() {
  while (hasData() && currentLine_.size() == kHeaderLength) {
    takePeriod();
    nextLine();
  }
}

void RptTarquela::groupHeaderFormFormat() {
  if (!hasData()) return;
  const QByteArrayView line = currentLine_;
  set(c_->lblCUIT,
      "CUIT: " + cuitKey(line) + "  (" + consortiumNumberText(detail::consortiumNumber.in(line)) + ")");
  set(c_->NroFormulario, detail::formCode.in(line));
  set(c_->lblInstitucion, detail::institutionName.in(line));
  configurarFormulario(detail::formCode.in(line));
  set(c_->lblConsorcio, "CONSORCIO: " + detail::consortiumName.trimmedIn(line).toByteArray());
  set(c_->lblPeriodo, "PERIODO: " + periodText(periodMonth_) + " - " + periodText(periodYear_));
  set(c_->lblDeclaracion, "DECLARACION: " + detail::declarationNumber.in(line).toByteArray());
  set(c_->lblNumeroDeTarquela, "N\xba TARQUELA: " + voucherNumberText(detail::voucherNumber.in(line)));
  set(c_->lblVencimiento, "VENCIMIENTO: " + dateText(detail::dueDate.in(line)));
  design_.groupHeaders[1].bookmark = fromCp1252(cuitKey(line)) + u" \u2013 "_s +
                                     fromCp1252(detail::consortiumName.trimmedIn(line)) + u" \u2013 "_s +
                                     fromCp1252(detail::formCode.in(line));
}

void RptTarquela::configurarFormulario(QByteArrayView formCode) {
  for (QStringView logo : kLogos) c_->design.findControl(logo)->visible = false;
  const FormVariant* variant = findFormVariant(fromCp1252(formCode));
  if (!variant) {
    // An unknown form shows no logo and the design's texts: never what an
    // earlier voucher of another form left behind.
    c_->lblLugaresDePago->text = kDesignPaymentPlaces.toString();
    c_->lblNN->text = kDesignPartNumber.toString();
    return;
  }
  c_->design.findControl(variant->logo)->visible = true;
  c_->lblLugaresDePago->text = variant->paymentPlaces.toString();
  if (variant->partNumber) c_->lblNN->text = QString::fromUtf16(variant->partNumber);
  if (variant->institution) c_->lblInstitucion->text = QString::fromUtf16(variant->institution);
}

void RptTarquela::detailFormat() {
  c_->lblObservaciones->text.clear();
  if (!hasData()) return;
  if (currentLine_.size() == kDetailLength) fillDetail();
  fillFooter();
  copyToSecondStub();
  setBarCode();
  nextLine();
  skipHeaders();
}

void RptTarquela::fillDetail() {
  const QByteArrayView line = currentLine_;
  set(c_->txtConcepto, detail::conceptText.trimmedIn(line));
  set(c_->txtImporte, amountText(detail::conceptAmount.in(line)));
  set(c_->txtInteres, amountText(detail::conceptInterest.in(line)));
  set(c_->txtTotalDeuda, amountText(detail::conceptTotal.in(line)));
}

void RptTarquela::fillFooter() {
  const QByteArrayView line = currentLine_;
  set(c_->lblTotalDeConceptos, amountText(detail::conceptsTotal.in(line)));
  set(c_->lblTotalPagosACuenta, amountText(detail::paymentsOnAccount.in(line)));
  set(c_->lblTotalAPagar, amountText(detail::totalToPay.in(line)));
  set(c_->lblCantidadDeTrabajadores, "CANTIDAD DE TRABAJADORES: " + countText(detail::workerCount.in(line)));
  if (detail::formCode.in(line) == QByteArrayView(detail::kWorkerListForm))
    set(c_->lblObservaciones, workerListText(detail::observations.in(line)));
  set(c_->lblVencimiento2, "VENCIMIENTO: " + dateText(detail::dueDate.in(line)));
}

void RptTarquela::copyToSecondStub() {
  for (const Controls::Copy& copy : c_->stubCopies) copy.to->text = copy.from->text;
  c_->lblTotalAPagar2->text = u"TOTAL A PAGAR: "_s + c_->lblTotalAPagar->text;
}

void RptTarquela::setBarCode() {
  c_->Bar1->visible = false;
  c_->lblCodigoDeBarra->visible = false;
  for (Control* notice : c_->lblSinBarra) notice->visible = false;
  const QByteArrayView code = detail::barCode.in(currentLine_);
  if (code == kNoBarCode) {
    for (Control* notice : c_->lblSinBarra) notice->visible = true;
    return;
  }
  // A value that is not 59 digits cannot be a collecting network's code:
  // its text is printed, no bars are drawn.
  c_->Bar1->visible = true;
  c_->Bar1->text = isBarCodeValue(code) ? fromCp1252(code) : QString();
  c_->lblCodigoDeBarra->visible = true;
  c_->lblCodigoDeBarra->text = u"C\u00f3digo de barras: "_s + fromCp1252(code);
}

void RptTarquela::detailAfterPrint() {
  if (hasData()) setGroupKeys();
}

}  // namespace tarquelas::voucher
