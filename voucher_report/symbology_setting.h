// The bar code's symbology, which the collecting network decides: a setting
// of the program's settings file (the key codigoDeBarras/simbologia of
// ~/.config/tarquelas/tarquelas.conf), which batch mode's --simbologia
// overrides. Its values are "code128" (the default) and "i2of5".
#pragma once

#include <QString>
#include <optional>

#include "report_engine/report_design.h"
#include "support/status.h"

namespace tarquelas::report {

inline constexpr char16_t kSymbologyKey[] = u"codigoDeBarras/simbologia";

// The settings file: tarquelas/tarquelas.conf in the user's configuration
// folder, whatever names the application has set.
QString settingsFilePath();

// The symbology a setting's value names (letter case aside), or none.
std::optional<Symbology> symbologyNamed(const QString& name);

struct SymbologySetting {
  Status status;  // an error names the file, the key and the value
  Symbology symbology = Symbology::Code128;
};

// The symbology the settings file chooses; Code 128 when it chooses none.
SymbologySetting configuredSymbology();

}  // namespace tarquelas::report
