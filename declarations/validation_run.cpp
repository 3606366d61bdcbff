#include "declarations/validation_run.h"

#include <QFile>
#include <QFileInfo>

namespace tarquelas::validation {
namespace {
constexpr qint64 kProgressStep = qint64(1) << 20;
}  // namespace

bool AppendedFile::ensureOpen() {
  if (opened_ || failed()) return opened_;
  const QFileInfo before(path_);
  existedBefore_ = before.exists();
  sizeBefore_ = before.isFile() ? before.size() : 0;
  status_ = writer_.open(path_, LineWriter::Mode::Append);
  opened_ = status_.isOk();
  return opened_;
}

void AppendedFile::writeLine(QByteArrayView line) {
  if (ensureOpen()) writer_.writeLine(line);
}

void AppendedFile::write(QByteArrayView bytes) {
  if (ensureOpen()) writer_.write(bytes);
}

Status AppendedFile::close() {
  if (writer_.isOpen()) {
    Status closed = writer_.close();
    if (status_.isOk()) status_ = std::move(closed);
  }
  return status_;
}

void AppendedFile::discard() {
  (void)close();
  if (opened_ && !existedBefore_) {
    (void)removeIfExists(path_);
  } else if (opened_ && QFileInfo(path_).isFile()) {
    QFile::resize(path_, sizeBefore_);
  }
  opened_ = false;
}

Run::Run(const WorkPaths& paths, Progress& progress)
    : auxiliar(paths.auxiliar), errores(paths.errores), progress_(progress) {}

Status Run::open(const QString& presentationPath) {
  Status opened = reader_.open(presentationPath);
  reader_.setLineLimit(kLineLimit);
  if (opened.isOk()) cancelled_ = !reportProgress();
  return opened;
}

bool Run::reportProgress() {
  nextReport_ = reader_.position() + kProgressStep;
  return progress_.report(Progress::Stage::Validating, reader_.position(), reader_.size());
}

std::optional<QByteArrayView> Run::next() {
  if (ended_ || cancelled_ || auxiliar.failed() || errores.failed()) return std::nullopt;
  if (reader_.position() >= nextReport_ && !reportProgress()) {
    cancelled_ = true;
    return std::nullopt;
  }
  auto line = reader_.next();
  if (!line) ended_ = true;
  return line;
}

bool Run::completed() const {
  return ended_ && !cancelled_ && reader_.status().isOk() && !auxiliar.failed() && !errores.failed();
}

Status Run::finish() {
  Status outcome = cancelled_ ? Status::cancelled() : reader_.status();
  Status auxClosed = auxiliar.close();
  Status errorsClosed = errores.close();
  if (outcome.isOk()) outcome = !auxClosed.isOk() ? std::move(auxClosed) : std::move(errorsClosed);
  if (!outcome.isOk()) {
    auxiliar.discard();
    errores.discard();
  } else {
    (void)progress_.report(Progress::Stage::Validating, reader_.position(), reader_.size());
  }
  return outcome;
}

}  // namespace tarquelas::validation
