// The two kinds of presentation file. Recognition gives a file its kind
// letter (sTipoArchivo: "B" for a voucher file, "D" for a registry file,
// empty before any file); the run and the window ask which kind it names.
#pragma once

#include <QByteArrayView>

#include "declarations/registry_layout.h"
#include "declarations/voucher_layout.h"

namespace tarquelas {

enum class FileKind { None, Voucher, Registry };

// The kind a kind letter names; None for anything else.
inline FileKind fileKind(QByteArrayView letter) {
  if (letter.size() != 1) return FileKind::None;
  if (letter[0] == voucher::kKindLetter) return FileKind::Voucher;
  if (letter[0] == registry::kKindLetter) return FileKind::Registry;
  return FileKind::None;
}

}  // namespace tarquelas
