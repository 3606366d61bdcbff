// Presentation files for the app's tests: the bundled samples, faulty
// copies of them, and header lines placed column by column.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
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

// A voucher header: entity code 0000123, a four-letter name, period
// 03/2026, presentation 0747144854.
inline QByteArray voucherHeader() {
  return LineBuilder(132)
      .at(1, "C")
      .at(2, "0000123")
      .at(9, "ABCD")
      .at(109, "03")
      .at(111, "2026")
      .at(115, "0747144854")
      .at(125, "20260305");
}

// A registry header: entity code 0000123, a four-letter name, presentation
// 0144272509 of 2026-03-12 09:30.
inline QByteArray registryHeader() {
  return LineBuilder(300)
      .at(1, "C")
      .at(2, "D")
      .at(3, "0000123")
      .at(10, "ABCD")
      .at(110, "0144272509")
      .at(120, "20260312")
      .at(128, "0930");
}

// The sample's lines with one detail line given a month 13 in its header,
// which the voucher validator rejects.
inline QByteArray faultyVouchers() {
  QFile f(samplePath("vouchers.txt"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = f.readAll();
  bytes.replace(108, 2, "13");
  return bytes;
}

// The registry sample with its second line one character longer.
inline QByteArray faultyRegistry() {
  QFile f(samplePath("registry.txt"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = f.readAll();
  const qsizetype secondLineEnd = bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2);
  bytes.insert(secondLineEnd, "X");
  return bytes;
}

inline QByteArray sampleBytes(const char* name) { return readBytes(samplePath(name)); }

// A path under dir that exists as a file, so nothing can be written below it.
inline QString unwritableDirectory(const QTemporaryDir& dir) {
  const QString blocker = dir.filePath(QStringLiteral("archivo"));
  writeBytes(blocker, "no es una carpeta");
  return blocker + QStringLiteral("/App");
}

}  // namespace tarquelas::testing
