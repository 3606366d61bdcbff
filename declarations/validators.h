// The two validators of presentation files. Each reads the presentation
// file once, appends its data-error reports to the error file and copies
// good lines to the auxiliary file; the error file's existence afterwards
// is the verdict.
#pragma once

#include <QString>

#include "support/progress.h"
#include "support/status.h"
#include "support/work_paths.h"

namespace tarquelas {

// Voucher file. A presentation file that does not exist (the path as
// given) gives Ok and writes nothing; an existing one is opened by the
// path without its surrounding blanks. A file that exists but cannot be
// read, or a working file that cannot be written, gives an error naming
// the file and the system's reason. progress hears of the bytes read about
// every megabyte; when it asks to cancel the result is Status::cancelled().
// After an error or a cancel neither working file holds anything of this
// run.
[[nodiscard]] Status validarArchivoTarquelas(const QString& presentationPath, const WorkPaths& paths,
                                             Progress& progress = noProgress());

// Registry file, with the same failure rules.
[[nodiscard]] Status validarArchivoPadron(const QString& presentationPath, const WorkPaths& paths,
                                          Progress& progress = noProgress());

}  // namespace tarquelas
