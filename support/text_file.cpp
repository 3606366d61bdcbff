#include "support/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

#include "support/system_reason.h"

namespace tarquelas {
namespace {

// The fuzzing build makes the chunks small (TARQUELAS_TEXT_CHUNK): a chunk's edge is then met by
// small inputs, and an allocation of 1 MiB per file, costly under AddressSanitizer, is avoided.
#ifndef TARQUELAS_TEXT_CHUNK
#define TARQUELAS_TEXT_CHUNK (qsizetype(1) << 20)
#endif
constexpr qsizetype kReadChunk = TARQUELAS_TEXT_CHUNK;
constexpr qsizetype kWriteChunk = TARQUELAS_TEXT_CHUNK;

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

Status writeError(const QString& path, const QString& reason) {
  return Status::error(fileErrorDescription(QStringLiteral("escribir"), nativePath(path), reason));
}

// Writes all of bytes. A write the system cuts short is carried on, so
// the call that fails tells why (a short write alone gives no reason).
bool writeAll(QFileDevice& file, QByteArrayView bytes) {
  while (!bytes.isEmpty()) {
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written <= 0) return false;
    bytes = bytes.sliced(written);
  }
  return true;
}

}  // namespace

LineReader::LineReader() = default;
LineReader::~LineReader() = default;

Status LineReader::open(const QString& path) {
  path_ = path;
  const QFileInfo info(path);
  if (info.isDir()) {
    return status_ = Status::error(fileErrorDescription(QStringLiteral("leer"), nativePath(path),
                                                        QStringLiteral("es una carpeta")));
  }
  // A pipe or a device would block the window or never end; only regular
  // files are presentation files, templates or working files.
  if (info.exists() && !info.isFile()) {
    return status_ = Status::error(fileErrorDescription(QStringLiteral("leer"), nativePath(path),
                                                        QStringLiteral("no es un archivo común")));
  }
  auto file = std::make_unique<QFile>(path);
  if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    return status_ = Status::error(
               fileErrorDescription(QStringLiteral("abrir"), nativePath(path), fileReason(*file)));
  }
  size_ = file->size();
  readTo_ = 0;
  file_ = std::move(file);
  buffer_.resize(kReadChunk);
  return status_ = Status::ok();
}

bool LineReader::fill() {
  if (begin_ > 0) {
    const qsizetype pending = end_ - begin_;
    if (pending > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, size_t(pending));
    begin_ = 0;
    end_ = pending;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a very long line
  // What is appended after opening is not read: a file that grows as fast
  // as it is read would never end.
  const qint64 wanted = std::min<qint64>(buffer_.size() - end_, size_ - readTo_);
  if (wanted <= 0) {
    eof_ = true;
    return false;
  }
  const qint64 got = file_->read(buffer_.data() + end_, wanted);
  if (got < 0) {
    status_ =
        Status::error(fileErrorDescription(QStringLiteral("leer"), nativePath(path_), fileReason(*file_)));
    eof_ = true;
    return false;
  }
  if (got == 0) {
    eof_ = true;
    return false;
  }
  end_ += got;
  readTo_ += got;
  return true;
}

std::optional<QByteArrayView> LineReader::next() {
  if (!file_ || !status_.isOk()) return std::nullopt;
  qsizetype scanned = 0;  // bytes after begin_ already known to hold no CR
  for (;;) {
    if (skipLf_) {
      if (begin_ == end_ && !eof_) {
        fill();
        if (!status_.isOk()) return std::nullopt;
        continue;
      }
      if (begin_ < end_ && buffer_[begin_] == '\n') {
        ++begin_;
        ++consumed_;
      }
      skipLf_ = false;
    }
    const char* from = buffer_.constData() + begin_ + scanned;
    const auto* cr = static_cast<const char*>(std::memchr(from, '\r', size_t(end_ - begin_ - scanned)));
    if (cr) {
      skipLf_ = true;
      return take(cr - buffer_.constData() - begin_, 1);
    }
    if (eof_) {
      if (begin_ == end_ && dropped_ == 0) return std::nullopt;
      return take(end_ - begin_, 0);
    }
    // A line past the limit: its tail is forgotten as it comes, so the
    // buffer never grows for it.
    if (lineLimit_ >= 0 && end_ - begin_ > lineLimit_) {
      dropped_ += end_ - begin_ - lineLimit_;
      end_ = begin_ + lineLimit_;
    }
    scanned = end_ - begin_;
    fill();
    if (!status_.isOk()) return std::nullopt;
  }
}

Status LineReader::seek(qint64 offset) {
  if (!file_) return status_;
  begin_ = end_ = 0;
  dropped_ = 0;
  eof_ = false;
  // A position between lines follows the CR that ended the line before,
  // so an LF found there still belongs to that line end.
  skipLf_ = offset > 0;
  consumed_ = offset;
  readTo_ = offset;
  if (offset < 0 || !file_->seek(offset)) {
    eof_ = true;
    return status_ = Status::error(
               fileErrorDescription(QStringLiteral("leer"), nativePath(path_), fileReason(*file_)));
  }
  return status_ = Status::ok();
}

QByteArrayView LineReader::take(qsizetype length, qsizetype ending) {
  const qsizetype kept = lineLimit_ >= 0 ? std::min(length, lineLimit_) : length;
  const QByteArrayView line(buffer_.constData() + begin_, kept);
  consumed_ += dropped_ + length + ending;
  begin_ += length + ending;
  dropped_ = 0;
  ++lines_;
  return line;
}

LinesResult readAllLines(const QString& path) {
  LinesResult result;
  LineReader reader;
  result.status = reader.open(path);
  if (!result.status.isOk()) return result;
  while (auto line = reader.next()) result.lines.append(line->toByteArray());
  result.status = reader.status();
  return result;
}

FirstLineResult readFirstLine(const QString& path, qsizetype maxBytes) {
  FirstLineResult result;
  LineReader reader;
  result.status = reader.open(path);
  if (!result.status.isOk()) return result;
  reader.setLineLimit(maxBytes);
  if (auto line = reader.next()) result.line = line->toByteArray();
  result.status = reader.status();
  return result;
}

LineWriter::LineWriter() = default;

LineWriter::~LineWriter() {
  // A writer that was not closed leaves an Atomic target untouched; a
  // direct file gets what was buffered so no written line is lost.
  if (file_ && mode_ != Mode::Atomic) {
    flushBuffer();
    file_->close();
  }
}

Status LineWriter::open(const QString& path, Mode mode) {
  path_ = path;
  mode_ = mode;
  status_ = Status::ok();
  buffer_.clear();
  buffer_.reserve(kWriteChunk + 4096);
  std::unique_ptr<QFileDevice> file;
  // The writer buffers by itself: every write reaches the system at once,
  // and a failure is reported with its reason.
  QIODevice::OpenMode flags = QIODevice::WriteOnly | QIODevice::Unbuffered;
  if (mode == Mode::Atomic) {
    if (Status s = checkReplaceable(path); !s.isOk()) return status_ = s;
    auto save = std::make_unique<QSaveFile>(path);
    // Without this, a folder we may write in but whose entries we may not
    // rename into would silently fall back to writing in place.
    save->setDirectWriteFallback(false);
    file = std::move(save);
  } else {
    file = std::make_unique<QFile>(path);
    flags |= mode == Mode::Append ? QIODevice::Append : QIODevice::Truncate;
  }
  if (!file->open(flags)) return status_ = writeError(path, fileReason(*file));
  file_ = std::move(file);
  return status_;
}

void LineWriter::write(QByteArrayView bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kWriteChunk) flushBuffer();
}

void LineWriter::writeLine(QByteArrayView line) {
  buffer_.append(line);
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kWriteChunk) flushBuffer();
}

void LineWriter::flushBuffer() {
  if (buffer_.isEmpty() || !file_) return;
  if (status_.isOk() && !writeAll(*file_, buffer_)) status_ = writeError(path_, fileReason(*file_));
  buffer_.resize(0);  // keeps the allocation for the next chunk
}

Status LineWriter::close() {
  if (!file_) return status_;
  flushBuffer();
  if (mode_ == Mode::Atomic) {
    auto* save = static_cast<QSaveFile*>(file_.get());
    if (!status_.isOk()) {
      save->cancelWriting();
    } else if (!save->commit()) {
      status_ = writeError(path_, fileReason(*save));
    }
  } else {
    if (status_.isOk() && !file_->flush()) status_ = writeError(path_, fileReason(*file_));
    file_->close();
    if (status_.isOk() && file_->error() != QFileDevice::NoError) {
      status_ = writeError(path_, fileReason(*file_));
    }
  }
  file_.reset();
  return status_;
}

Status writeFileAtomically(const QString& path, QByteArrayView bytes) {
  LineWriter writer;
  if (Status s = writer.open(path, LineWriter::Mode::Atomic); !s.isOk()) return s;
  writer.write(bytes);
  return writer.close();
}

Status checkReplaceable(const QString& path) {
  const QFileInfo target(path);  // through any links
  if (!target.exists() || target.isFile()) return Status::ok();
  return writeError(path, QStringLiteral("no es un archivo común"));
}

Status removeIfExists(const QString& path) {
  QFile file(path);
  if (!file.exists()) return Status::ok();
  if (!file.remove()) {
    return Status::error(fileErrorDescription(QStringLiteral("borrar"), nativePath(path), fileReason(file)));
  }
  return Status::ok();
}

}  // namespace tarquelas
