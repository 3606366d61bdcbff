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

RptTarquela::RptTarquela(QString auxPath)
    : path_(std::move(auxPath)), design_(tarquelaDesign()), c_(std::make_unique<Controls>(design_)) {
  lineIndex_ = 1;
  if (!existeArchivo(path_)) return;
  LineReader counter;
  status_ = counter.open(path_);
  if (!status_.isOk()) return;
  QByteArray previousKey;
  while (const std::optional<QByteArrayView> line = counter.next()) {
    ++lineCount_;
    if (lineCount_ == 1 || line->size() == kHeaderLength) continue;
    const QByteArray key = cuitKey(*line) + detail::formCode.in(*line).toByteArray();
    if (key != previousKey || voucherCount_ == 0) ++voucherCount_;
    previousKey = key;
  }
  status_ = counter.status();
  if (!status_.isOk()) lineCount_ = 0;
}

RptTarquela::~RptTarquela() = default;  // ActiveReport_Terminate: the reader closes the file

Status RptTarquela::run(report::PageSink& sink, Progress& progress) {
  progress_ = &progress;
  design_.groupHeaders[1].format = [this] { groupHeaderFormFormat(); };
  design_.detail.format = [this] { detailFormat(); };
  design_.detail.afterPrint = [this] { detailAfterPrint(); };
  design_.groupFooters[1].afterPrint = [this] { groupFooterFormAfterPrint(); };
  report::ReportEvents events;
  events.reportStart = [this] { reportStart(); };
  events.hasData = [this] { return lineIndex_ <= lineCount_; };
  events.keepGoing = [this] { return !cancelled_; };
  const Status status = report::runReport(design_, events, sink);
  progress_ = nullptr;
  if (status.isOk() && cancelled_) return Status::cancelled();
  return status;
}

QByteArray RptTarquela::readLine() {
  if (!open_) return {};
  const std::optional<QByteArrayView> line = reader_.next();
  return line ? line->toByteArray() : QByteArray();
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

void RptTarquela::reportStart() {
  if (lineCount_ <= 0) return;
  open_ = reader_.open(path_).isOk();
  currentLine_ = readLine();
  ++lineIndex_;
  takePeriod();
  currentLine_ = readLine();
  skipHeaders();
  setGroupKeys();
}

// A header record after the first line is no voucher's record: it gives
// the period of the vouchers that follow and the cursor moves past it, so
// no voucher is headed by it and no record is lost or read past the end.
void RptTarquela::skipHeaders() {
  while (lineIndex_ <= lineCount_ && currentLine_.size() == kHeaderLength) {
    takePeriod();
    nextLine();
  }
}

void RptTarquela::nextLine() {
  if (lineIndex_ < lineCount_) currentLine_ = readLine();
  ++lineIndex_;
}

void RptTarquela::groupHeaderFormFormat() {
  if (lineIndex_ > lineCount_) return;
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
  if (lineIndex_ > lineCount_) return;
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
  if (lineIndex_ <= lineCount_) setGroupKeys();
}

void RptTarquela::groupFooterFormAfterPrint() {
  ++vouchersDone_;
  if (progress_ && !progress_->report(Progress::Stage::LayingOutVouchers, vouchersDone_,
                                      std::max(voucherCount_, vouchersDone_)))
    cancelled_ = true;
}

}  // namespace tarquelas::voucher
