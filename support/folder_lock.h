// The lock that keeps one run at a time in an App directory: a kernel
// advisory lock (flock) on the open file .Tarquelas.lock. The system drops
// it when the holder closes the file or ends, however it ends, so what the
// file holds, or a file a crashed run left behind, never keeps a run out.
// The file itself stays in the folder: removing it would let two runs lock
// two different files of the same name.
#pragma once

#include <QString>

namespace tarquelas {

class FolderLock {
 public:
  enum class Result {
    Taken,    // this object holds the folder (or the folder cannot be locked at all)
    Busy,     // another open file holds it; try again later
    Refused,  // the lock path is not a regular file; see refusal()
  };

  explicit FolderLock(QString path);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Tries once, never waiting. A lock file that cannot be created or opened
  // (a folder that cannot be written) is Taken without a lock: the working
  // files then fail with their own reasons.
  Result tryLock();
  // Why the lock path cannot be used, naming it.
  QString refusal() const;
  void unlock();

 private:
  QString path_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace tarquelas
