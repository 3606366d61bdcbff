#include "app/run_ui.h"

namespace tarquelas {

QString errorPromptText(const QString& description) {
  return QStringLiteral("Se ha detectado el siguiente error:\r\n") + description +
         QStringLiteral("\r\n\r\n¿Desea continuar?");
}

QString asLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString waitingMessage() {
  return QStringLiteral("Esperando que termine otro proceso que usa la carpeta de trabajo…");
}

}  // namespace tarquelas
