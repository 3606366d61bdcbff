#include "support/app_directory.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/temp_dir.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::writeBytes;

const QString kConsorcio = QStringLiteral("DisenoConsorcio.htm");
const QString kTrabajador = QStringLiteral("DisenoTrabajador.htm");

bool writable(const QString&) { return true; }
bool readOnly(const QString&) { return false; }

// A program folder holding the two installed templates, and a data folder
// path (not created) below a scratch folder.
class AppDirectoryChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.isValid());
    program_ = scratch_.filePath(QStringLiteral("lib/tarquelas"));
    data_ = scratch_.filePath(QStringLiteral("home/.local/share/tarquelas"));
    ASSERT_TRUE(QDir().mkpath(program_));
    ASSERT_TRUE(writeBytes(inProgram(kConsorcio), "<html>consorcio instalado</html>\r\n"));
    ASSERT_TRUE(writeBytes(inProgram(kTrabajador), "<html>trabajador instalado</html>\r\n"));
  }
  QString inProgram(const QString& name) const { return program_ + QLatin1Char('/') + name; }
  QString inData(const QString& name) const { return data_ + QLatin1Char('/') + name; }

  QTemporaryDir scratch_;
  QString program_;
  QString data_;
};

TEST_F(AppDirectoryChoice, WritableProgramFolderIsItsOwnAppDirectory) {
  EXPECT_EQ(chooseAppDirectory(program_, data_, writable), program_);
  EXPECT_FALSE(QFileInfo::exists(data_));
}

TEST_F(AppDirectoryChoice, ReadOnlyProgramFolderGivesTheCreatedDataFolder) {
  EXPECT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_TRUE(QFileInfo(data_).isDir());
}

TEST_F(AppDirectoryChoice, ReadOnlyProgramFolderCopiesBothTemplates) {
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  for (const QString& name : {kConsorcio, kTrabajador}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(readBytes(inData(name)), readBytes(inProgram(name)));
  }
}

TEST_F(AppDirectoryChoice, EditedTemplateSurvivesLaterStarts) {
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  ASSERT_TRUE(writeBytes(inData(kConsorcio), "<html>mi propio dise\xF1o</html>\r\n"));
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_EQ(readBytes(inData(kConsorcio)), QByteArray("<html>mi propio dise\xF1o</html>\r\n"));
  EXPECT_EQ(readBytes(inData(kTrabajador)), readBytes(inProgram(kTrabajador)));
}

TEST_F(AppDirectoryChoice, OnlyTheMissingTemplateIsCopied) {
  ASSERT_TRUE(QDir().mkpath(data_));
  ASSERT_TRUE(writeBytes(inData(kTrabajador), "editado"));
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_EQ(readBytes(inData(kTrabajador)), QByteArray("editado"));
  EXPECT_EQ(readBytes(inData(kConsorcio)), readBytes(inProgram(kConsorcio)));
}

TEST_F(AppDirectoryChoice, DeletedTemplateComesBackAtNextStart) {
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  ASSERT_TRUE(QFile::remove(inData(kConsorcio)));
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_EQ(readBytes(inData(kConsorcio)), readBytes(inProgram(kConsorcio)));
}

TEST_F(AppDirectoryChoice, CopyOfReadOnlyInstalledTemplateIsEditable) {
  ASSERT_TRUE(
      QFile::setPermissions(inProgram(kConsorcio), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_TRUE(QFile::permissions(inData(kConsorcio)) & QFile::WriteOwner);
}

TEST_F(AppDirectoryChoice, MissingInstalledTemplateIsNotInvented) {
  ASSERT_TRUE(QFile::remove(inProgram(kTrabajador)));
  ASSERT_EQ(chooseAppDirectory(program_, data_, readOnly), data_);
  EXPECT_TRUE(QFileInfo::exists(inData(kConsorcio)));
  EXPECT_FALSE(QFileInfo::exists(inData(kTrabajador)));
}

TEST_F(AppDirectoryChoice, WritabilityIsAskedOfTheProgramFolder) {
  QStringList asked;
  const auto record = [&asked](const QString& dir) {
    asked << dir;
    return true;
  };
  (void)chooseAppDirectory(program_, data_, record);
  EXPECT_EQ(asked, QStringList{program_});
}

TEST(IsWritableDirectory, TellsFoldersFromFilesAndMissingPaths) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("a.txt"));
  ASSERT_TRUE(writeBytes(file, "x"));
  struct Case {
    QString path;
    bool writable;
  };
  const Case cases[] = {
      {dir.path(), true},
      {file, false},
      {dir.filePath(QStringLiteral("missing")), false},
      {QString(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    EXPECT_EQ(isWritableDirectory(c.path), c.writable);
  }
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
