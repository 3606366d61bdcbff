#include "voucher_report/symbology_setting.h"

#include <QSettings>
#include <QStandardPaths>

namespace tarquelas::report {

QString settingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tarquelas/tarquelas.conf");
}

std::optional<Symbology> symbologyNamed(const QString& name) {
  if (name.compare(QStringLiteral("code128"), Qt::CaseInsensitive) == 0) return Symbology::Code128;
  if (name.compare(QStringLiteral("i2of5"), Qt::CaseInsensitive) == 0) return Symbology::Interleaved2of5;
  return std::nullopt;
}

SymbologySetting configuredSymbology() {
  const QString path = settingsFilePath();
  const QSettings settings(path, QSettings::IniFormat);
  if (settings.status() == QSettings::FormatError)
    return {Status::error(QStringLiteral("No se pudo leer la configuración %1.").arg(printablePath(path))),
            Symbology::Code128};
  const QString key = QString::fromUtf16(kSymbologyKey);
  const QString value = settings.value(key).toString().trimmed();
  if (value.isEmpty()) return {Status::ok(), Symbology::Code128};
  if (const std::optional<Symbology> named = symbologyNamed(value)) return {Status::ok(), *named};
  return {Status::error(QStringLiteral("La simbología «%1» de %2 en %3 no se conoce: use code128 o i2of5.")
                            .arg(printable(value), key, printablePath(path))),
          Symbology::Code128};
}

}  // namespace tarquelas::report
