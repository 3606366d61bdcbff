// The registry lists loaded from a validated registry file: five lists of
// fixed-length entries of trimmed Windows-1252 texts, addressed from 0.
// A list that received no record holds one empty entry (no texts).
#pragma once

#include <QByteArray>
#include <QList>

namespace tarquelas {

// One entry of a registry list: a fixed number of trimmed texts.
using Entry = QList<QByteArray>;

// Texts per entry of each list.
inline constexpr int kTextosAdministracion = 11;
inline constexpr int kTextosConsorcio = 13;
inline constexpr int kTextosTrabajador = 20;
inline constexpr int kTextosBeneficiario = 8;
inline constexpr int kTextosRelacion = 2;

// A default Registry is the one of a file without records: every list
// holds its one empty entry.
struct Registry {
  QList<Entry> aAdministraciones{Entry{}};  // 11 texts per entry
  QList<Entry> aConsorcios{Entry{}};        // 13
  QList<Entry> aTrabajadores{Entry{}};      // 20
  QList<Entry> aBeneficiarios{Entry{}};     // 8
  QList<Entry> aRelaciones{Entry{}};        // 2
};

// The empty entry of a list without records takes part in nothing.
inline bool esEntradaVacia(const Entry& entry) { return entry.isEmpty(); }

}  // namespace tarquelas
