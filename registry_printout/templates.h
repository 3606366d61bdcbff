// The two HTML templates of the registry printout and how they are cut
// into page designs and block designs at their block markers. The
// templates are plain text to the system: only the markers (found in any
// letter case, first occurrence only) and the placeholders mean anything.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

#include "support/status.h"

namespace tarquelas {

// Shows one of the printout's messages (a missing template) to the user.
using ShowMessage = std::function<void(const QString& text)>;

// DisenoConsorcio.htm cut: the page design with each block shrunk to
// "<@@BLOQUEADMINISTRACIONES@@>" / "<@@BLOQUETRABAJADORES@@>", and the
// text strictly between each block's markers.
struct DisenoConsorcio {
  QByteArray sDisenoConsorcio;
  QByteArray sBloqueAdministraciones;
  QByteArray sBloqueTrabajadores;
};

// DisenoTrabajador.htm cut: the page design with the beneficiary block
// shrunk to "<@@BLOQUEBENEFICIARIOS@@>", and the block's design.
struct DisenoTrabajador {
  QByteArray sDisenoEmpleado;
  QByteArray sBloqueBeneficiarios;
};

// Cutting, in steps that each fill one text: page design, then each block
// design. A block placed so that a cut would have a negative length (a
// start marker missing, an end marker before its start) stops the cutting
// there; the texts of that step and of later steps stay empty.
DisenoConsorcio cortarDisenoConsorcio(QByteArrayView texto);
DisenoTrabajador cortarDisenoTrabajador(QByteArrayView texto);

// A template read: its text, or why it could not be read (an error naming
// the file) and no text.
template <typename T>
struct Leido {
  Status status;
  T texto;
};

// The template's text: its lines, each followed by CR LF.
Leido<QByteArray> leerPlantilla(const QString& path);

// Reads and cuts a template. A missing file shows "No se encuentra el
// archivo DisenoConsorcio.htm" (or DisenoTrabajador.htm) and gives empty
// texts; a file that is there but cannot be read (a folder, no permission)
// gives the error naming it.
Leido<DisenoConsorcio> leerDisenoConsorcio(const QString& path, const ShowMessage& showMessage);
Leido<DisenoTrabajador> leerDisenoTrabajador(const QString& path, const ShowMessage& showMessage);

}  // namespace tarquelas
