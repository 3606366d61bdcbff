// The App directory: where the templates are read and the working files and
// Padron.html are written. A copy of the program in a folder its user can
// write (the build tree, a portable copy) works in its own folder; a system
// install, whose folder is read-only, works in the user's data folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tarquelas {

// The program's own folder when its user can write there; otherwise the
// user's data folder for the program (~/.local/share/tarquelas), created on
// demand and given a copy of each installed template it lacks.
// Needs a QCoreApplication; does not depend on the application's names.
QString appDirectory();

// The templates kept in the App directory and installed beside the program.
const QStringList& templateFileNames();

// The choice behind appDirectory(), with its inputs made explicit so it can
// be tried on any folders: programDir when canWrite(programDir), otherwise
// dataDir after creating it and copying into it each template of programDir
// that it does not have yet. A template already in dataDir (the user's own,
// perhaps edited) is never replaced. Copies are left writable by their owner.
QString chooseAppDirectory(const QString& programDir, const QString& dataDir,
                           const std::function<bool(const QString&)>& canWrite);

// Whether the current user may create files in dir.
bool isWritableDirectory(const QString& dir);

// The user's data folder for the program: the generic data location
// followed by "/tarquelas", whatever names the application has set.
QString userDataDirectory();

}  // namespace tarquelas
