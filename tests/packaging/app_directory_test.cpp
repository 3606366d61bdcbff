#include "support/app_directory.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/temp_dir.h"

namespace tarquelas {
namespace {

using testing::writeBytes;

// A writable program folder is the App directory; otherwise the user's data folder is, made with
// copies of the installed templates and no others. (check_system_install.sh follows the copies
// through later runs.)
TEST(ChooseAppDirectory, AWritableProgramFolderOrElseTheDataFolder) {
  QTemporaryDir scratch;
  const QString program = scratch.filePath(QStringLiteral("lib/tarquelas"));
  const QString data = scratch.filePath(QStringLiteral("home/.local/share/tarquelas"));
  ASSERT_TRUE(QDir().mkpath(program) && writeBytes(program + QStringLiteral("/DisenoConsorcio.htm"), "x"));
  QStringList asked;
  const auto choose = [&](bool writable) {
    return chooseAppDirectory(program, data, [&](const QString& dir) {
      asked << dir;
      return writable;
    });
  };
  EXPECT_EQ(choose(true), program);
  EXPECT_FALSE(QFileInfo::exists(data));
  EXPECT_EQ(choose(false), data);
  EXPECT_EQ(asked, QStringList({program, program}));
  EXPECT_EQ(QDir(data).entryList(QDir::Files), QStringList{QStringLiteral("DisenoConsorcio.htm")});
}

TEST(IsWritableDirectory, TellsFoldersFromFilesAndMissingPaths) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("a.txt"));
  ASSERT_TRUE(writeBytes(file, "x"));
  EXPECT_TRUE(isWritableDirectory(dir.path()));
  for (const QString& path : {file, dir.filePath(QStringLiteral("missing")), QString()})
    EXPECT_FALSE(isWritableDirectory(path)) << path.toStdString();
}

TEST(AppDirectory, BuildTreeProgramWorksInItsOwnFolder) {
  int argc = 1;
  char name[] = "app_directory_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("otro-nombre"));
  EXPECT_TRUE(userDataDirectory().endsWith(QStringLiteral("/tarquelas")));
  EXPECT_EQ(appDirectory(), QCoreApplication::applicationDirPath());
}

}  // namespace
}  // namespace tarquelas
