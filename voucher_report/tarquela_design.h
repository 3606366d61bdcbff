// The layout of the payment voucher: page settings, the seven sections and
// every control with its place, fixed text and style; and the form variants
// (logo, payment places, part number, title) chosen by the form code.
#pragma once

#include <QString>
#include <QStringView>
#include <span>

#include "report_engine/report_design.h"

namespace tarquelas::voucher {

// Margins: top 800, bottom 800, left 700, right 400 twips.
report::PageSettings voucherPage();

// The report design with every control visible and holding its design text.
// Handlers are not set.
report::ReportDesign tarquelaDesign();

// The five logos, in the order the variants name them.
inline constexpr QStringView kLogos[] = {u"Img01", u"Img02", u"Img03", u"Img04", u"Img08"};

// One row of the form variants. A null text leaves that caption unchanged.
struct FormVariant {
  QStringView code;
  QStringView logo;
  QStringView paymentPlaces;
  const char16_t* partNumber;   // lblNN
  const char16_t* institution;  // lblInstitucion
};
std::span<const FormVariant> formVariants();

// The variant of a form code (compared in upper case), or null.
const FormVariant* findFormVariant(QStringView formCode);

// Design texts that an unknown form code puts back.
inline constexpr QStringView kDesignPaymentPlaces = u"\u2022 Banco de la Naci\u00f3n Argentina";
inline constexpr QStringView kDesignPartNumber = u"N/N";

// The fixed text of the cut line: 88 times "- ".
QString cutLineText();

}  // namespace tarquelas::voucher
