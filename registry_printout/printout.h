// The registry printout: loading the validated registry file into the
// registry lists and writing Padron.html from the two templates.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

#include "registry_printout/registry.h"
#include "support/progress.h"
#include "support/status.h"
#include "support/work_paths.h"

namespace tarquelas {

// Shows one of the printout's messages (a missing template) to the user.
using ShowMessage = std::function<void(const QString& text)>;

// Reads the auxiliary file into the registry lists, translating codes.
// A missing auxiliary file gives lists that each hold one empty entry.
struct LoadResult {
  Status status;
  Registry registry;
};
[[nodiscard]] LoadResult cargarPadron(const QString& auxPath, Progress& progress = noProgress());

// Writes paths.padron (atomically) from the templates at
// paths.disenoConsorcio and paths.disenoTrabajador; sLineaCabecera is the
// recognised header line; trabajadores adds the worker pages.
[[nodiscard]] Status GenerarHTMLFinal(const Registry& registry, const WorkPaths& paths,
                                      QByteArrayView sLineaCabecera, bool trabajadores,
                                      const ShowMessage& showMessage,
                                      Progress& progress = noProgress());

}  // namespace tarquelas
