#include "support/app_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarquelas {

namespace {

// Gives the user a template of their own to edit: the installed one is
// copied only when missing, so an edited copy survives every later start.
void copyMissingTemplate(const QString& fromDir, const QString& toDir, const QString& name) {
  const QString target = toDir + QLatin1Char('/') + name;
  const QString source = fromDir + QLatin1Char('/') + name;
  if (QFileInfo::exists(target) || !QFileInfo::exists(source)) return;
  if (!QFile::copy(source, target)) return;  // the run reports the missing template itself
  QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

const QStringList& templateFileNames() {
  static const QStringList names{QStringLiteral("DisenoConsorcio.htm"),
                                 QStringLiteral("DisenoTrabajador.htm")};
  return names;
}

bool isWritableDirectory(const QString& dir) {
  const QFileInfo info(dir);
  return info.isDir() && info.isWritable();
}

QString userDataDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarquelas");
}

QString chooseAppDirectory(const QString& programDir, const QString& dataDir,
                           const std::function<bool(const QString&)>& canWrite) {
  if (canWrite(programDir)) return programDir;
  QDir().mkpath(dataDir);
  for (const QString& name : templateFileNames()) copyMissingTemplate(programDir, dataDir, name);
  return dataDir;
}

QString appDirectory() {
  return chooseAppDirectory(QCoreApplication::applicationDirPath(), userDataDirectory(), isWritableDirectory);
}

}  // namespace tarquelas
