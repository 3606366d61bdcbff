// A temporary App directory with a presentation file, and the outcome of
// validating it: the bytes of the error and auxiliary files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

#include "common/data_file.h"
#include "common/data_table.h"
#include "common/line_builder.h"
#include "common/temp_dir.h"
#include "declarations/validators.h"
#include "support/cp1252.h"
#include "support/work_paths.h"

// Failures show bytes as percent-escaped text (%0D%0A ends a line)
// rather than one element per byte.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << '"' << bytes.toPercentEncoding(" :.,-()/").constData() << '"';
}

namespace tarquelas::testing {

using Validator = Status (*)(const QString&, const WorkPaths&, Progress&);

// Lines each ended by CR LF.
inline QByteArray crlf(const QList<QByteArray>& lines) {
  QByteArray bytes;
  for (const QByteArray& line : lines) bytes.append(line).append("\r\n");
  return bytes;
}

// A file's bytes; empty when there is no file, a marker when it is empty.
inline QByteArray fileOrNothing(const QString& path) {
  if (!QFileInfo::exists(path)) return {};
  const QByteArray bytes = readBytes(path);
  return bytes.isEmpty() ? QByteArray("<empty file>") : bytes;
}

// Windows-1252 text ended by CR LF, kept in tests/data/ in UTF-8 with LF line ends.
inline void expectDataFile(const QByteArray& text, const char* name) {
  expectData(name, fromCp1252(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8());
}

// Files kept as blocks in tests/data/ in UTF-8 for their Windows-1252 bytes:
// "== name", then the file's lines.
using FileCase = CaseBlock;
inline QList<FileCase> fileCases(const char* name) {
  return caseBlocks(name, toCp1252(QString::fromUtf8(readBytes(dataPath(name)))).chopped(1));
}

class ValidationTest : public ::testing::Test {
 protected:
  QString input() const { return dir_.path() + QStringLiteral("/presentacion.txt"); }
  QString tempPath(const QString& name) const { return dir_.path() + u'/' + name; }
  const WorkPaths& paths() const { return paths_; }

  void givenFile(const QByteArray& bytes) { ASSERT_TRUE(writeBytes(input(), bytes)); }
  Status validate(Validator validator, Progress& progress = noProgress()) {
    return validator(input(), paths_, progress);
  }
  // Validates bytes afresh: no working file is left from a previous call.
  Status validateBytes(Validator validator, const QByteArray& bytes) {
    (void)QFile::remove(paths_.errores);
    (void)QFile::remove(paths_.auxiliar);
    givenFile(bytes);
    return validate(validator);
  }

  QByteArray errorFile() const { return fileOrNothing(paths_.errores); }
  QByteArray auxFile() const { return fileOrNothing(paths_.auxiliar); }

 private:
  QTemporaryDir dir_;
  WorkPaths paths_ = WorkPaths::inDirectory(dir_.path());
};

}  // namespace tarquelas::testing
