// Case tables kept under tests/data/: one case a line, its fields parted by
// '|', any byte written as %XX ("%7C" for '|'); empty lines and lines
// starting with '#' are notes.
#pragma once

#include <QList>
#include <QStringList>

#include "data_file.h"

namespace tarquelas::testing {

// The cases of a table, whole: its lines but the notes.
inline QStringList caseLines(const char* name) {
  QStringList lines = QString::fromUtf8(readBytes(dataPath(name))).split(u'\n');
  lines.removeIf([](const QString& line) { return line.isEmpty() || line.startsWith(u'#'); });
  return lines;
}

inline QList<QList<QByteArray>> dataRows(const char* name) {
  QList<QList<QByteArray>> rows;
  for (const QString& line : caseLines(name)) {
    rows.append(line.toUtf8().split('|'));
    for (QByteArray& field : rows.last()) field = QByteArray::fromPercentEncoding(field);
  }
  EXPECT_FALSE(rows.isEmpty()) << "tests/data/" << name << " holds no case";
  return rows;
}

}  // namespace tarquelas::testing
