// The program's fonts: the report asks for Verdana and Tahoma by name. Where
// the system lacks them, Tahoma comes from the copy Debian ships with Wine
// (outside fontconfig's paths) and both fall back to DejaVu Sans.
#pragma once

#include <QString>

namespace tarquelas {

// Loads the Tahoma substitute and sets the fallbacks. Call once after the
// QGuiApplication exists; later calls do nothing.
void registerProgramFonts();

}  // namespace tarquelas
