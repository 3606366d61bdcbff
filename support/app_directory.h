// The App directory: where the templates are read and the working files and
// Padron.html are written.
#pragma once

#include <QString>

namespace tarquelas {

// The program's own folder (QCoreApplication::applicationDirPath()).
// Needs a QCoreApplication.
QString appDirectory();

}  // namespace tarquelas
