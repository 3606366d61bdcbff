#include "support/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "support/status.h"

namespace tarquelas {

namespace {

// A link, a folder, a FIFO or a device is never opened: a FIFO would block
// the open, and a link could lead the lock anywhere.
bool isRegular(const struct stat& s) { return S_ISREG(s.st_mode); }

int openLockFile(const QByteArray& name) {
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  int fd = ::open(name.constData(), O_RDWR | O_CREAT | kFlags, 0644);
  // In a folder that may only be read, an existing lock file still locks.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(name.constData(), O_RDONLY | kFlags);
  return fd;
}

}  // namespace

FolderLock::FolderLock(QString path) : path_(std::move(path)) {}

FolderLock::~FolderLock() { unlock(); }

FolderLock::Result FolderLock::tryLock() {
  if (held_) return Result::Taken;
  const QByteArray name = QFile::encodeName(path_);
  struct stat s {};
  if (::lstat(name.constData(), &s) == 0 && !isRegular(s)) return Result::Refused;
  fd_ = openLockFile(name);
  if (fd_ < 0) return errno == ELOOP ? Result::Refused : Result::Taken;
  if (::fstat(fd_, &s) != 0 || !isRegular(s)) {
    unlock();
    return Result::Refused;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    held_ = true;
    return Result::Taken;
  }
  // A file system without locks cannot keep two runs apart; it stops none.
  if (errno != EWOULDBLOCK) return Result::Taken;
  // Closed between tries, so a lock file replaced meanwhile is the one tried next.
  unlock();
  return Result::Busy;
}

QString FolderLock::refusal() const {
  return QStringLiteral(
             "No se puede usar la carpeta de trabajo: %1 no es un archivo común. Bórrelo y vuelva a "
             "intentarlo.")
      .arg(printablePath(path_));
}

void FolderLock::unlock() {
  if (fd_ >= 0) ::close(fd_);  // closing the file drops the lock
  fd_ = -1;
  held_ = false;
}

}  // namespace tarquelas
