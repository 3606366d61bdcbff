// A temporary App directory with a presentation file, and the outcome of
// validating it: the bytes of the auxiliary and error files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include "byte_printer.h"
#include "common/line_builder.h"
#include "common/temp_dir.h"
#include "declarations/validators.h"
#include "support/work_paths.h"

namespace tarquelas::testing {

// Lines joined with CR LF, the last one ended too.
inline QByteArray crlfFile(const QList<QByteArray>& lines) {
  QByteArray bytes;
  for (const QByteArray& line : lines) bytes.append(line).append("\r\n");
  return bytes;
}

// Lines joined with CR LF and no line end after the last one.
inline QByteArray crlfFileWithoutFinalEnd(const QList<QByteArray>& lines) {
  QByteArray bytes = crlfFile(lines);
  if (!lines.isEmpty()) bytes.chop(2);
  return bytes;
}

class ValidationTest : public ::testing::Test {
 protected:
  QString input() const { return dir_.path() + QStringLiteral("/presentacion.txt"); }
  const WorkPaths& paths() const { return paths_; }

  void givenFile(const QByteArray& bytes) { ASSERT_TRUE(writeBytes(input(), bytes)); }
  void givenLines(const QList<QByteArray>& lines) { givenFile(crlfFile(lines)); }

  Status validateVouchers() { return validarArchivoTarquelas(input(), paths_); }
  Status validateRegistry() { return validarArchivoPadron(input(), paths_); }

  bool hasErrorFile() const { return QFileInfo::exists(paths_.errores); }
  bool hasAuxFile() const { return QFileInfo::exists(paths_.auxiliar); }
  QByteArray errorFile() const { return readBytes(paths_.errores); }
  QByteArray auxFile() const { return readBytes(paths_.auxiliar); }

 private:
  QTemporaryDir dir_;
  WorkPaths paths_ = WorkPaths::inDirectory(dir_.path());
};

}  // namespace tarquelas::testing
