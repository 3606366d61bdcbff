#include "support/app_directory.h"

#include <QCoreApplication>

namespace tarquelas {

QString appDirectory() { return QCoreApplication::applicationDirPath(); }

}  // namespace tarquelas
