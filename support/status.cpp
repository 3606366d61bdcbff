#include "support/status.h"

#include <QDir>

#include "support/progress.h"

namespace tarquelas {

QString printable(QString text) {
  for (QChar& c : text) {
    if (c.category() == QChar::Other_Control) c = QLatin1Char('?');
  }
  return text;
}

QString printablePath(const QString& path) { return printable(QDir::toNativeSeparators(path)); }

QString fileErrorDescription(const QString& verb, const QString& path, const QString& reason) {
  return QStringLiteral("No se puede %1 el archivo \"%2\": %3").arg(verb, printable(path), reason);
}

namespace {
class NoProgress final : public Progress {
 public:
  bool report(Stage, qint64, qint64) override { return true; }
};
}  // namespace

Progress& noProgress() {
  static NoProgress instance;
  return instance;
}

}  // namespace tarquelas
