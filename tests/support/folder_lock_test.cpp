// The App directory's lock between two holders: one at a time, however many times the other
// tries, and free again once the first lets go or is gone.
#include "support/folder_lock.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <optional>

namespace tarquelas {
namespace {

using Result = FolderLock::Result;

TEST(FolderLockTest, OneHolderAtATimeUntilItLetsGo) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral(".Tarquelas.lock"));
  std::optional<FolderLock> first(std::in_place, path);
  FolderLock second(path);
  EXPECT_EQ(first->tryLock(), Result::Taken);
  EXPECT_EQ(second.tryLock(), Result::Busy);
  EXPECT_EQ(second.tryLock(), Result::Busy);
  first->unlock();
  EXPECT_EQ(second.tryLock(), Result::Taken);
  EXPECT_EQ(first->tryLock(), Result::Busy);
  second.unlock();
  EXPECT_EQ(first->tryLock(), Result::Taken);
  first.reset();  // a holder that is gone holds nothing
  EXPECT_EQ(second.tryLock(), Result::Taken);
}

}  // namespace
}  // namespace tarquelas
