#include "app/recognition.h"

#include <QFile>
#include <QStringList>
#include <cmath>

#include "app/file_kind.h"
#include "declarations/registry_layout.h"
#include "declarations/voucher_layout.h"
#include "support/cp1252.h"
#include "support/fields.h"
#include "support/status.h"
#include "support/system_reason.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas {

namespace {

constexpr QByteArrayView kCrLf = "\r\n";

bool isBlankPath(const QString& pathText) {
  for (QChar c : pathText) {
    if (c != QLatin1Char(' ')) return false;
  }
  return true;
}

// The first line of the file (up to its first CR, as every reader of the
// system ends lines), repaired. Reads no further than kHeaderReadLimit
// bytes, and only from a regular file: a pipe or a device would keep the
// window waiting. A file that cannot be read leaves why in unreadable.
QByteArray headerLineOf(const QString& path, QString& unreadable) {
  if (const Status opens = LineReader().open(path); !opens.isOk()) {
    unreadable = opens.description();
    return {};
  }
  QFile file(path);
  QByteArray head;
  if (file.open(QIODevice::ReadOnly)) head = file.read(kHeaderReadLimit);
  if (file.error() != QFileDevice::NoError) {
    unreadable = fileErrorDescription(QStringLiteral("leer"), printablePath(path), fileReason(file));
    return {};
  }
  const qsizetype lineEnd = head.indexOf('\r');
  if (lineEnd >= 0) head.truncate(lineEnd);
  return decodificarUTF8(head);
}

QByteArray firstSummaryLine(QByteArrayView name, QByteArrayView code) {
  return trimBlanks(name).toByteArray() + "  (" + codeAsNumber(code) + ")" + kCrLf;
}

QByteArray presentationLine(QByteArrayView id) {
  return toCp1252(u"Presentación:  ") + id.toByteArray() + "." + kCrLf;
}

QByteArray registrySummary(QByteArrayView h) {
  namespace f = registry::header;
  return firstSummaryLine(f::entityName.in(h), f::entityCode.in(h)) +
         "Fecha: " + f::presentationDay.in(h).toByteArray() + "/" + f::presentationMonth.in(h).toByteArray() +
         "/" + f::presentationYear.in(h).toByteArray() +
         ", hora: " + f::presentationHour.in(h).toByteArray() + ":" +
         f::presentationMinutes.in(h).toByteArray() + "." + kCrLf + kCrLf +
         presentationLine(f::presentationId.in(h));
}

QByteArray voucherSummary(QByteArrayView h) {
  namespace f = voucher::header;
  return firstSummaryLine(f::entityName.in(h), f::entityCode.in(h)) +
         "Periodo:  " + f::periodMonth.in(h).toByteArray() + "/" + f::periodYear.in(h).toByteArray() + "." +
         kCrLf + kCrLf + presentationLine(f::presentationId.in(h));
}

}  // namespace

QByteArray codeAsNumber(QByteArrayView code) {
  if (!esNumerico(code)) return code.toByteArray();
  // Halves round away from zero, as the "0" number format does.
  const double rounded = std::round(valorNumerico(code));
  return QByteArray::number(rounded == 0 ? 0.0 : rounded, 'f', 0);
}

QByteArray kindOf(QByteArrayView headerLine) {
  const QByteArrayView test = voucher::kKindTest.in(headerLine);
  const bool digit = test.size() == 1 && isDigit(test[0]);
  return QByteArray(1, digit ? voucher::kKindLetter : registry::kKindLetter);
}

QByteArray summaryOf(QByteArrayView headerLine) {
  return fileKind(kindOf(headerLine)) == FileKind::Voucher ? voucherSummary(headerLine)
                                                           : registrySummary(headerLine);
}

Recognition recognizeFile(const QString& pathText) {
  Recognition r;
  if (isBlankPath(pathText)) return r;
  const QString file = archivoDePresentacion(pathText);
  if (!existeArchivo(file)) {
    r.outcome = Recognition::Outcome::MissingFile;
    return r;
  }
  r.outcome = Recognition::Outcome::Recognised;
  r.headerLine = headerLineOf(file, r.unreadable);
  r.kind = kindOf(r.headerLine);
  r.summary = summaryOf(r.headerLine);
  return r;
}

QString summaryForDisplay(QByteArrayView summary) {
  // Its lines end in CR LF; any other control character came from the file.
  QStringList lines = fromCp1252(summary).split(QStringLiteral("\r\n"));
  for (QString& line : lines) line = printable(line);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace tarquelas
