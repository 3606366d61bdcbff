#include "voucher_report/voucher_texts.h"

#include <cmath>

#include "support/fields.h"
#include "support/varias.h"

namespace tarquelas::voucher {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The longest prefix of text (blanks removed) that reads as a number:
// sign, digits, a decimal point and digits, an exponent.
QByteArray numberPrefix(QByteArrayView text) {
  QByteArray compact;
  for (char c : text)
    if (!isBlank(c)) compact += c;
  qsizetype i = 0;
  const auto digitsFrom = [&](qsizetype at) {
    while (at < compact.size() && isDigit(compact[at])) ++at;
    return at;
  };
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) ++i;
  const qsizetype intStart = i;
  i = digitsFrom(i);
  bool anyDigit = i > intStart;
  if (i < compact.size() && compact[i] == '.') {
    const qsizetype fracEnd = digitsFrom(i + 1);
    anyDigit = anyDigit || fracEnd > i + 1;
    i = fracEnd;
  }
  if (!anyDigit) return {};
  if (i < compact.size() && (compact[i] == 'e' || compact[i] == 'E')) {
    qsizetype e = i + 1;
    if (e < compact.size() && (compact[e] == '+' || compact[e] == '-')) ++e;
    const qsizetype expEnd = digitsFrom(e);
    if (expEnd > e) i = expEnd;
  }
  return compact.left(i);
}

}  // namespace

double leadingValue(QByteArrayView text) {
  bool ok = false;
  const double value = numberPrefix(text).toDouble(&ok);
  return ok && std::isfinite(value) ? value : 0.0;
}

QByteArray plainDecimal(double value) {
  if (value == std::floor(value) && std::fabs(value) < 9.0e18)
    return QByteArray::number(static_cast<qint64>(value));
  return QByteArray::number(value, 'g', 15);
}

QByteArray amountText(QByteArrayView field) {
  const QByteArrayView whole = mid(field, 1, 6);
  const std::optional<qint64> value = valorEntero(whole);
  const QByteArray integer = value ? QByteArray::number(*value) : plainDecimal(leadingValue(whole));
  return integer + ',' + mid(field, 7, 2).toByteArray();
}

QByteArray countText(QByteArrayView field) { return plainDecimal(leadingValue(field)); }

QByteArray dateText(QByteArrayView field) {
  return mid(field, 7, 2).toByteArray() + '/' + mid(field, 5, 2).toByteArray() + '/' +
         mid(field, 1, 4).toByteArray();
}

QByteArray voucherNumberText(QByteArrayView field) {
  const std::optional<qint64> value = valorEntero(field);
  if (!value || *value < 0 || *value > 9'999'999'999LL) return field.toByteArray();
  const QByteArray digits = QByteArray::number(*value).rightJustified(10, '0');
  return digits.left(2) + '-' + digits.mid(2);
}

QByteArray workerListText(QByteArrayView observations) {
  QByteArray text = trimBlanks(observations).toByteArray().toLower();
  text.replace("trabajadores: ", "");
  if (text.endsWith('-')) {
    text.chop(1);
    text = trimBlanks(text).toByteArray();
  }
  return text.isEmpty() ? QByteArray() : "CUILES: " + text;
}

}  // namespace tarquelas::voucher
