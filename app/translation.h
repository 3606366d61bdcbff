// The program speaks the office's Spanish (Argentina): Qt's own texts
// (dialog buttons, the file and print dialogs, the print preview) come from
// Qt's Spanish translations where they are installed, and the program's own
// translation, built in, words over them what Qt lacks or says otherwise
// ("Archivo", "Carpeta", "Páginas"). Numbers and dates follow es_AR, the
// file dialogs' dates included (7/12/2026), whatever the system's locale.
#pragma once

class QCoreApplication;

namespace tarquelas {

// Call once, after the application object is made and before any window.
void installSpanishQtTexts(QCoreApplication& app);

}  // namespace tarquelas
