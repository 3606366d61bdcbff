// The error file, TarquelasErrores.txt: the lines each validator writes
// into it. The file is only ever appended to; its existence after
// validation is the verdict that the presentation file was rejected.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tarquelas::error_file {

// A voucher file line that failed checks: "Línea N: " and the pieces of
// the failed checks (each already ending in ". ").
QByteArray voucherLine(qint64 lineNumber, QByteArrayView pieces);

// One registry finding: "Error Línea N" and the message, which begins
// with ": ". The registry validator writes all findings of the file
// followed by one empty line.
QByteArray registryLine(qint64 lineNumber, QByteArrayView message);

}  // namespace tarquelas::error_file
