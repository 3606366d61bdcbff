// The program speaks Spanish: Qt's own texts (dialog buttons, the file
// dialog, the print preview) are shown in Spanish where Qt's translations
// are installed, and in English otherwise.
#pragma once

class QCoreApplication;

namespace tarquelas {

void installSpanishQtTexts(QCoreApplication& app);

}  // namespace tarquelas
