#include "voucher_report/voucher_texts.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "declarations/voucher_checks.h"
#include "support/cp1252.h"
#include "support/fields.h"
#include "support/varias.h"

namespace tarquelas::voucher {

namespace {

constexpr qsizetype kPlainDigitsMax = 20;  // a 64-bit number with its sign

QByteArray ownText(QByteArrayView field) { return trimBlanks(field).toByteArray(); }

// "inf", "infinity" or "nan" after blanks and a sign, as a C library reads them.
bool namesNonFinite(QByteArrayView text) {
  QByteArrayView t = trimBlanks(text);
  if (!t.isEmpty() && (t[0] == '+' || t[0] == '-')) t = trimBlanks(t.sliced(1));
  const QByteArray word = t.first(std::min<qsizetype>(t.size(), 3)).toByteArray().toLower();
  return word == "inf" || word == "nan";
}

bool allDigits(QByteArrayView text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<double> leadingValue(QByteArrayView text) {
  if (namesNonFinite(text)) return std::nullopt;
  const double value = leadingNumber(text);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<QByteArray> plainDecimal(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  QByteArray text = QByteArray::number(value + 0.0, 'f', QLocale::FloatingPointShortest);
  if (text.size() > kPlainDigitsMax) return std::nullopt;
  return text;
}

QByteArray amountText(QByteArrayView field) {
  // Read as text, not as a number: any width prints whole, and a field the
  // reading would have to guess at (a sign inside, a letter) is shown as is.
  qsizetype at = 0;
  while (at < field.size() && field[at] == ' ') ++at;
  const bool negative = at < field.size() && field[at] == '-';
  QByteArrayView digits = field.sliced(at + (negative ? 1 : 0));
  if (digits.isEmpty() || !allDigits(digits)) return ownText(field);
  while (digits.size() > 1 && digits.front() == '0') digits = digits.sliced(1);
  const QByteArray cents =
      digits.last(std::min<qsizetype>(digits.size(), 2)).toByteArray().rightJustified(2, '0');
  const QByteArrayView pesos = digits.size() > 2 ? digits.first(digits.size() - 2) : QByteArrayView("0");
  const bool zero = pesos == QByteArrayView("0") && cents == "00";
  return (negative && !zero ? "-" : "") + pesos.toByteArray() + ',' + cents;
}

QByteArray countText(QByteArrayView field) {
  const std::optional<double> value = leadingValue(field);
  const std::optional<QByteArray> text = value ? plainDecimal(*value) : std::nullopt;
  return text ? *text : ownText(field);
}

QByteArray periodText(QByteArrayView field) {
  return !field.isEmpty() && allDigits(field) ? field.toByteArray() : countText(field);
}

QByteArray consortiumNumberText(QByteArrayView field) {
  const std::optional<QByteArray> text = plainDecimal(valorNumerico(field));
  return text ? *text : ownText(field);
}

QByteArray dateText(QByteArrayView field) {
  return mid(field, 7, 2).toByteArray() + '/' + mid(field, 5, 2).toByteArray() + '/' +
         mid(field, 1, 4).toByteArray();
}

QByteArray voucherNumberText(QByteArrayView field) {
  const std::optional<qint64> value = valorEntero(field);
  if (!value || *value < 0 || *value > 9'999'999'999LL) return ownText(field);
  const QByteArray digits = QByteArray::number(*value).rightJustified(10, '0');
  return digits.left(2) + '-' + digits.mid(2);
}

QByteArray workerListText(QByteArrayView observations) {
  // Lower case for every letter of the code page, not only the ASCII ones.
  QByteArray text = toCp1252(fromCp1252(trimBlanks(observations)).toLower());
  text.replace("trabajadores: ", "");
  if (text.endsWith('-')) {
    text.chop(1);
    text = trimBlanks(text).toByteArray();
  }
  return text.isEmpty() ? QByteArray() : "CUILES: " + text;
}

}  // namespace tarquelas::voucher
