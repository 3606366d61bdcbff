// The registry printout: loading the validated registry file into the
// registry lists and writing Padron.html from the two templates.
#pragma once

#include <QByteArrayView>
#include <QString>

#include "registry_printout/registry.h"
#include "registry_printout/templates.h"
#include "support/progress.h"
#include "support/status.h"
#include "support/work_paths.h"

namespace tarquelas {

// Reads the auxiliary file into the registry lists, translating codes.
// A missing auxiliary file gives lists that each hold one empty entry; one
// that exists but cannot be read gives an error naming it.
struct LoadResult {
  Status status;
  Registry registry;
};
[[nodiscard]] LoadResult cargarPadron(const QString& auxPath, Progress& progress = noProgress());

// Writes paths.padron (atomically) from the templates at
// paths.disenoConsorcio and paths.disenoTrabajador; sLineaCabecera is the
// recognised header line; trabajadores adds the worker pages. Both
// templates are read (and a missing one reported through showMessage)
// before anything is written. A template that is there but cannot be read,
// or a Padron.html that cannot be written, gives an error naming it; that,
// and a cancel, leave the earlier Padron.html as it was.
[[nodiscard]] Status GenerarHTMLFinal(const Registry& registry, const WorkPaths& paths,
                                      QByteArrayView sLineaCabecera, bool trabajadores,
                                      const ShowMessage& showMessage, Progress& progress = noProgress());

}  // namespace tarquelas
