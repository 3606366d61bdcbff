// Case tables kept under tests/data/: one case a line, its fields parted by
// '|', any byte written as %XX ("%7C" for '|', "%25" for '%'); empty lines
// and lines starting with '#' are notes. A table whose rows are of several
// kinds names the kind in the first field. A case that needs several lines
// (a whole file, a run and what it gives) is a block instead: "== name",
// then its lines up to the next block, kept as they stand.
#pragma once

#include <QList>
#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "data_file.h"

namespace tarquelas::testing {

// The cases of a table, whole: its lines but the notes.
inline QStringList caseLines(const char* name) {
  QStringList lines = QString::fromUtf8(readBytes(dataPath(name))).split(u'\n');
  lines.removeIf([](const QString& line) { return line.isEmpty() || line.startsWith(u'#'); });
  return lines;
}

// The number of fields a row of each kind (its first field) holds.
using RowKinds = std::initializer_list<std::pair<QByteArrayView, qsizetype>>;

// The cases of a table, split into fields and decoded. A malformed row (a kind not in kinds, or
// another number of fields than its kind's) fails the test, named by its line, and is left out.
inline QList<QList<QByteArray>> dataRows(const char* name, RowKinds kinds) {
  QList<QList<QByteArray>> rows;
  const QList<QByteArray> lines = readBytes(dataPath(name)).split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].isEmpty() || lines[i].startsWith('#')) continue;
    QList<QByteArray> row = lines[i].split('|');
    for (QByteArray& field : row) field = QByteArray::fromPercentEncoding(field);
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const auto& k) { return k.first.isEmpty() || k.first == row[0]; });
    if (kind == kinds.end() || kind->second != row.size()) {
      ADD_FAILURE() << "tests/data/" << name << ":" << i + 1 << ": malformed row (" << row.size()
                    << " fields, kind \"" << row[0].constData() << "\"): " << lines[i].constData();
      continue;
    }
    rows.append(row);
  }
  EXPECT_FALSE(rows.isEmpty()) << "tests/data/" << name << " holds no case";
  return rows;
}

// A case of a table of blocks: its name and its lines.
struct CaseBlock {
  QByteArray name;
  QList<QByteArray> lines;
};

// The blocks of table, whose text is bytes (its last line end removed).
// Before the first block only notes and empty lines may stand: anything else
// fails the test, named by its line.
inline QList<CaseBlock> caseBlocks(const char* table, const QByteArray& bytes) {
  QList<CaseBlock> blocks;
  const QList<QByteArray> lines = bytes.split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].startsWith("== ")) {
      blocks.append({lines[i].sliced(3), {}});
    } else if (!blocks.isEmpty()) {
      blocks.last().lines.append(lines[i]);
    } else if (!lines[i].isEmpty() && !lines[i].startsWith('#')) {
      ADD_FAILURE() << "tests/data/" << table << ":" << i + 1
                    << ": a line before the first \"== name\": " << lines[i].constData();
    }
  }
  EXPECT_FALSE(blocks.isEmpty()) << "tests/data/" << table << " holds no case";
  return blocks;
}

// The same for a table whose rows have no kind: every one holds fields fields.
inline QList<QList<QByteArray>> dataRows(const char* name, qsizetype fields) {
  return dataRows(name, {{QByteArrayView(), fields}});
}

}  // namespace tarquelas::testing
