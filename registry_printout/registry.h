// The registry lists loaded from a validated registry file.
#pragma once

#include <QByteArray>
#include <QList>

namespace tarquelas {

// One entry of a registry list: a fixed number of trimmed texts.
using Entry = QList<QByteArray>;

struct Registry {
  QList<Entry> aAdministraciones;  // 11 texts per entry
  QList<Entry> aConsorcios;        // 13
  QList<Entry> aTrabajadores;      // 20
  QList<Entry> aBeneficiarios;     // 8
  QList<Entry> aRelaciones;        // 2
};

}  // namespace tarquelas
