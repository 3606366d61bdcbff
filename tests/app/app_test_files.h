// Presentation files for the app's tests: the bundled samples, faulty copies of them, and header
// lines placed column by column.
#pragma once

#include <QString>
#include <ostream>

#include "common/line_builder.h"
#include "common/temp_dir.h"

// Readable QStrings in GoogleTest's messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tarquelas::testing {

inline QString samplePath(const char* name) {
  return QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/") + QLatin1String(name);
}

// Entity code 0000123, a four-letter name, period 03/2026, presentation 0747144854.
inline QByteArray voucherHeader() {
  return LineBuilder(132).at(1, "C0000123").at(9, "ABCD").at(109, "032026").at(115, "0747144854");
}

// Entity code 0000123, a four-letter name, presentation 0144272509 of 2026-03-12 09:30.
inline QByteArray registryHeader() {
  return LineBuilder(300).at(1, "CD0000123").at(10, "ABCD").at(110, "0144272509").at(120, "202603120930");
}

// The voucher sample with month 13 in its header.
inline QByteArray faultyVouchers() { return readBytes(samplePath("vouchers.txt")).replace(108, 2, "13"); }

// The registry sample with its second line one character longer.
inline QByteArray faultyRegistry() {
  QByteArray bytes = readBytes(samplePath("registry.txt"));
  return bytes.insert(bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2), "X");
}

// A path under dir below a file, so nothing can be written there.
inline QString unwritableDirectory(const QTemporaryDir& dir) {
  const QString blocker = dir.filePath(QStringLiteral("archivo"));
  writeBytes(blocker, "no es una carpeta");
  return blocker + QStringLiteral("/App");
}

}  // namespace tarquelas::testing
