#include "support/app_directory.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/temp_dir.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::writeBytes;

// A program folder holding the installed templates, and a data folder (not yet made) for the
// user: a writable program folder is the App directory; otherwise the data folder is, with the
// user's own templates, copied when missing (editable even when installed read-only), never
// overwritten, never invented.
TEST(ChooseAppDirectory, ReadOnlyProgramFolderGivesTheDataFolderWithTheUsersOwnTemplates) {
  QTemporaryDir scratch;
  const QString program = scratch.filePath(QStringLiteral("lib/tarquelas"));
  const QString data = scratch.filePath(QStringLiteral("home/.local/share/tarquelas"));
  const QString consorcio = QStringLiteral("/DisenoConsorcio.htm"),
                trabajador = QStringLiteral("/DisenoTrabajador.htm");
  ASSERT_TRUE(QDir().mkpath(program) && writeBytes(program + consorcio, "consorcio instalado"));
  QStringList asked;
  const auto choose = [&](bool writable) {
    return chooseAppDirectory(program, data, [&](const QString& dir) {
      asked << dir;
      return writable;
    });
  };
  EXPECT_EQ(choose(true), program);
  EXPECT_EQ(asked, QStringList{program});
  EXPECT_FALSE(QFileInfo::exists(data));

  ASSERT_TRUE(QFile::setPermissions(program + consorcio, QFile::ReadOwner | QFile::ReadOther));
  EXPECT_EQ(choose(false), data);
  EXPECT_EQ(readBytes(data + consorcio), "consorcio instalado");
  EXPECT_TRUE(QFile::permissions(data + consorcio) & QFile::WriteOwner);
  EXPECT_FALSE(QFileInfo::exists(data + trabajador));

  ASSERT_TRUE(writeBytes(data + consorcio, "mi propio dise\xF1o"));
  ASSERT_TRUE(writeBytes(program + trabajador, "trabajador instalado"));
  EXPECT_EQ(choose(false), data);
  EXPECT_EQ(readBytes(data + consorcio), "mi propio dise\xF1o");
  EXPECT_EQ(readBytes(data + trabajador), "trabajador instalado");

  ASSERT_TRUE(QFile::remove(data + consorcio));
  EXPECT_EQ(choose(false), data);
  EXPECT_EQ(readBytes(data + consorcio), "consorcio instalado");
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
