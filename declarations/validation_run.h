// What both validators share: one pass over the presentation file with
// progress and cancelling, and the two working files they append to.
// A run that fails or is cancelled leaves neither working file behind.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

#include "support/progress.h"
#include "support/status.h"
#include "support/text_file.h"
#include "support/work_paths.h"

namespace tarquelas::validation {

// A working file opened for appending on its first line, so that a run
// with nothing to write there leaves no file.
class AppendedFile {
 public:
  explicit AppendedFile(QString path) : path_(std::move(path)) {}

  void writeLine(QByteArrayView line);
  void write(QByteArrayView bytes);
  bool written() const { return opened_; }
  bool failed() const { return !status_.isOk(); }
  // The first failure to open or write, or Ok.
  [[nodiscard]] Status close();
  // Undoes this run's writing: closes the file, then deletes it when this
  // run created it, or cuts it back to its earlier size when it appended.
  void discard();

 private:
  bool ensureOpen();

  QString path_;
  LineWriter writer_;
  Status status_;
  bool opened_ = false;
  bool existedBefore_ = false;
  qint64 sizeBefore_ = 0;
};

// The part of a presentation file's line that is kept: far longer than
// any record, so a longer line is still reported by its length, while
// memory stays bounded however long a line is.
inline constexpr qsizetype kLineLimit = 64 * 1024;

class Run {
 public:
  Run(const WorkPaths& paths, Progress& progress);

  [[nodiscard]] Status open(const QString& presentationPath);
  // The next line, or nothing at the end of the file, after a read or
  // write failure, or when the user cancelled.
  std::optional<QByteArrayView> next();
  // Physical number of the line last returned, counting from 1.
  qint64 lineNumber() const { return reader_.lineCount(); }
  // True when every line was read and nothing failed so far.
  bool completed() const;
  // Closes the working files; on failure or cancel, deletes them.
  [[nodiscard]] Status finish();

  AppendedFile auxiliar;
  AppendedFile errores;

 private:
  bool reportProgress();

  Progress& progress_;
  LineReader reader_;
  qint64 nextReport_ = 0;
  bool cancelled_ = false;
  bool ended_ = false;
};

}  // namespace tarquelas::validation
