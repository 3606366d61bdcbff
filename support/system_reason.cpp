#include "support/system_reason.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileDevice>
#include <cerrno>
#include <iterator>

namespace tarquelas {

namespace {

struct Reason {
  int code;
  const char16_t* text;
};

// ENOSPC is also what a disk out of free entries (inodes) says.
constexpr Reason kReasons[] = {
    {ENOSPC, u"No queda espacio en el disco"},
    {EDQUOT, u"Se llegó al límite de espacio del usuario en el disco (cuota)"},
    {EROFS, u"El disco o la carpeta es de solo lectura"},
    {EACCES, u"No tiene permiso"},
    {EPERM, u"La operación no está permitida"},
    {ENAMETOOLONG, u"El nombre es más largo de lo que el sistema permite"},
    {EMLINK, u"Demasiados enlaces"},
    {ELOOP, u"Demasiados enlaces simbólicos encadenados"},
    {ENOENT, u"No existe el archivo o la carpeta"},
    {ENOTDIR, u"Una parte de la ruta no es una carpeta"},
    {EISDIR, u"Es una carpeta"},
    {EIO, u"Error de lectura o escritura en el dispositivo"},
    {EEXIST, u"El archivo ya existe"},
    {ENOTEMPTY, u"La carpeta no está vacía"},
    {EBUSY, u"El archivo o el dispositivo está ocupado"},
    {ETXTBSY, u"El archivo es un programa que se está ejecutando"},
    {EXDEV, u"No se puede mover entre discos distintos"},
    {EFBIG, u"El archivo es demasiado grande"},
    {EMFILE, u"Demasiados archivos abiertos por el programa"},
    {ENFILE, u"Demasiados archivos abiertos en el sistema"},
    {ENOMEM, u"No hay memoria suficiente"},
    {ENXIO, u"No existe el dispositivo"},
    {ENODEV, u"No existe el dispositivo"},
    {EINVAL, u"El nombre o la operación no es válida"},
    {EAGAIN, u"El recurso no está disponible por el momento"},
    {EINTR, u"La operación fue interrumpida"},
    {ESTALE, u"El archivo de la red ya no está disponible"},
    {ETIMEDOUT, u"Se agotó el tiempo de espera"},
    {ECONNREFUSED, u"La conexión fue rechazada"},
    {EHOSTUNREACH, u"No se puede llegar al equipo"},
    {ENETUNREACH, u"No se puede llegar a la red"},
    {EOVERFLOW, u"El archivo es demasiado grande para leerlo"},
    {EILSEQ, u"El nombre no es texto válido"},
};

}  // namespace

QString systemReason(int code) {
  for (const Reason& r : kReasons) {
    if (r.code == code) return QString::fromUtf16(r.text);
  }
  return QStringLiteral("Error del sistema %1 (%2)").arg(code).arg(qt_error_string(code));
}

QString fileReason(const QFileDevice& file) {
  // Qt keeps only the system's text of the error number; the same number
  // gives the same text in this process, so the text tells the number.
  const QString text = file.errorString();
  for (const Reason& r : kReasons) {
    if (qt_error_string(r.code) == text) return systemReason(r.code);
  }
  if (file.error() == QFileDevice::ResourceError) return systemReason(ENOSPC);
  return text;
}

int pathError(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) == 0) return 0;
  return errno;
}

}  // namespace tarquelas
