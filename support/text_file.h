// Line-oriented reading and writing of the system's text files.
//
// A line ends at CR LF or at a lone CR; a lone LF stays inside the line. A
// last line without a line end is still a line; an empty file has no lines.
// Lines are raw Windows-1252 bytes. Output lines always end in CR LF.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

#include "support/status.h"

class QFileDevice;

namespace tarquelas {

// Streams a file line by line with a fixed-size buffer; memory grows only
// with the longest line, or not past the line limit when one is set. Reads
// the file up to the size it had when opened; what is appended later is not
// read.
class LineReader {
 public:
  LineReader();
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens path for reading. Fails (naming path and the reason) when the
  // file is missing, is a directory or cannot be opened.
  [[nodiscard]] Status open(const QString& path);

  // The next line without its line end, or nothing at the end of the file or
  // after a read error (see status()). The view stays valid until the next
  // call or until the reader is destroyed.
  std::optional<QByteArrayView> next();

  // Goes back or on to offset, a position() this reader or another one on
  // the same file reported between two lines, and reads on from the line
  // that begins there. Line numbering goes on from where it was. Fails
  // when the file cannot be repositioned.
  [[nodiscard]] Status seek(qint64 offset);

  // Lines longer than maxBytes keep only their first maxBytes bytes; the
  // rest is read past (and still counted by position()). Set before next().
  void setLineLimit(qsizetype maxBytes) { lineLimit_ = maxBytes; }

  // Ok, or the read error that ended reading early.
  const Status& status() const { return status_; }
  // Bytes consumed so far and the file's size when opened, for progress.
  qint64 position() const { return consumed_; }
  qint64 size() const { return size_; }
  // Number of lines returned so far.
  qint64 lineCount() const { return lines_; }

 private:
  bool fill();
  // The line of length bytes at begin_, without the bytes past the limit.
  QByteArrayView take(qsizetype length, qsizetype ending);

  std::unique_ptr<QFileDevice> file_;
  QString path_;
  QByteArray buffer_;
  qsizetype begin_ = 0;  // first unread byte in buffer_
  qsizetype end_ = 0;    // one past the last valid byte in buffer_
  bool eof_ = false;
  bool skipLf_ = false;  // the previous line ended in a CR at a buffer edge
  qint64 consumed_ = 0;
  qint64 readTo_ = 0;  // file offset of the next read
  qint64 size_ = 0;
  qint64 lines_ = 0;
  qsizetype lineLimit_ = -1;  // none
  qint64 dropped_ = 0;        // bytes of the current line read past the limit
  Status status_;
};

// Reads the whole of a small file (a template) as lines. Fails like
// LineReader::open, or with the read error.
struct LinesResult {
  Status status;
  QList<QByteArray> lines;
};
LinesResult readAllLines(const QString& path);

// Reads only the first line of a file: nothing when the file is empty.
struct FirstLineResult {
  Status status;
  std::optional<QByteArray> line;
};
FirstLineResult readFirstLine(const QString& path, qsizetype maxBytes = -1);

// Writes CR LF-ended Windows-1252 lines through a large buffer.
//
// Truncate and Append write the named file directly. Atomic writes a
// temporary file beside it and renames it into place on close(), so the
// named file is never seen half-written; a writer destroyed without a
// successful close() leaves the named file as it was. Atomic replaces only
// a regular file (see checkReplaceable); a link to one is followed.
class LineWriter {
 public:
  enum class Mode { Truncate, Append, Atomic };

  LineWriter();
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  [[nodiscard]] Status open(const QString& path, Mode mode);
  // Appends line and CR LF.
  void writeLine(QByteArrayView line);
  // Appends bytes as they are (no line end added).
  void write(QByteArrayView bytes);
  // Flushes and closes (commits, in Atomic mode). Reports the first write
  // error, a full disk among them.
  [[nodiscard]] Status close();
  bool isOpen() const { return file_ != nullptr; }

 private:
  void flushBuffer();

  std::unique_ptr<QFileDevice> file_;
  QString path_;
  Mode mode_ = Mode::Truncate;
  QByteArray buffer_;
  Status status_;
};

// Whether a new file may be renamed into place at path: Ok when nothing is
// there or path leads, through any links, to a regular file; a directory,
// FIFO, socket or device is refused with an error naming path.
[[nodiscard]] Status checkReplaceable(const QString& path);

// Writes bytes as a whole file, atomically. Used for small outputs.
[[nodiscard]] Status writeFileAtomically(const QString& path, QByteArrayView bytes);

// Deletes path when it exists; fails with the reason when it cannot.
[[nodiscard]] Status removeIfExists(const QString& path);

}  // namespace tarquelas
