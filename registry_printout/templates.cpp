#include "registry_printout/templates.h"

#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas {
namespace {

constexpr QByteArrayView kInicioAdministraciones = "<@@INICIOBLOQUEADMINISTRACIONES@@>";
constexpr QByteArrayView kFinAdministraciones = "<@@FINBLOQUEADMINISTRACIONES@@>";
constexpr QByteArrayView kInicioTrabajadores = "<@@INICIOBLOQUETRABAJADORES@@>";
constexpr QByteArrayView kFinTrabajadores = "<@@FINBLOQUETRABAJADORES@@>";
constexpr QByteArrayView kInicioBeneficiarios = "<@@INICIOBLOQUEBENEFICIARIOS@@>";
constexpr QByteArrayView kFinBeneficiarios = "<@@FINBLOQUEBENEFICIARIOS@@>";

constexpr QByteArrayView kBloqueAdministraciones = "<@@BLOQUEADMINISTRACIONES@@>";
constexpr QByteArrayView kBloqueTrabajadores = "<@@BLOQUETRABAJADORES@@>";
constexpr QByteArrayView kBloqueBeneficiarios = "<@@BLOQUEBENEFICIARIOS@@>";

// The template's text with 1-based positions, as the cutting rules count.
class Texto {
 public:
  explicit Texto(QByteArrayView texto) : texto_(texto), mayusculas_(texto.toByteArray().toUpper()) {}

  // 1-based position of the marker's first occurrence in any letter case;
  // 0 when absent.
  qint64 posicion(QByteArrayView marcador) const { return mayusculas_.indexOf(marcador) + 1; }

  // n characters from position s: nothing for a negative n; empty from
  // beyond the end; what remains when n runs past the end.
  std::optional<QByteArray> cut(qint64 s, qint64 n) const {
    if (n < 0) return std::nullopt;
    if (s > texto_.size()) return QByteArray();
    return texto_.sliced(s - 1, qMin<qint64>(n, texto_.size() - (s - 1))).toByteArray();
  }
  // Everything from position s.
  QByteArray rest(qint64 s) const {
    return s > texto_.size() ? QByteArray() : texto_.sliced(s - 1).toByteArray();
  }

 private:
  QByteArrayView texto_;
  QByteArray mayusculas_;  // ASCII upper case: same positions as texto_
};

// Text strictly between a start marker at inicio and its end marker at fin.
std::optional<QByteArray> entre(const Texto& t, qint64 inicio, QByteArrayView marcador, qint64 fin) {
  return t.cut(inicio + marcador.size(), fin - (inicio + marcador.size()));
}

// The page design of two blocks: the one that comes first (its start at i1,
// its end marker fin1 at f1), the other (i2, f2).
struct Bloque {
  qint64 inicio, fin;
  QByteArrayView marcadorFin, marcador;
};
std::optional<QByteArray> disenoDeDosBloques(const Texto& t, const Bloque& primero, const Bloque& segundo) {
  const qint64 tras = primero.fin + primero.marcadorFin.size();
  const std::optional<QByteArray> antes = t.cut(1, primero.inicio - 1);
  const std::optional<QByteArray> medio = t.cut(tras, segundo.inicio - tras);
  if (!antes || !medio) return std::nullopt;
  return *antes + primero.marcador + *medio + segundo.marcador +
         t.rest(segundo.fin + segundo.marcadorFin.size());
}

}  // namespace

DisenoConsorcio cortarDisenoConsorcio(QByteArrayView texto) {
  DisenoConsorcio d;
  const Texto t(texto);
  const Bloque admin{t.posicion(kInicioAdministraciones), t.posicion(kFinAdministraciones),
                     kFinAdministraciones, kBloqueAdministraciones};
  const Bloque trab{t.posicion(kInicioTrabajadores), t.posicion(kFinTrabajadores), kFinTrabajadores,
                    kBloqueTrabajadores};
  const auto pagina =
      admin.inicio < trab.inicio ? disenoDeDosBloques(t, admin, trab) : disenoDeDosBloques(t, trab, admin);
  if (!pagina) return d;
  d.sDisenoConsorcio = *pagina;
  const auto bloqueAdmin = entre(t, admin.inicio, kInicioAdministraciones, admin.fin);
  if (!bloqueAdmin) return d;
  d.sBloqueAdministraciones = *bloqueAdmin;
  const auto bloqueTrab = entre(t, trab.inicio, kInicioTrabajadores, trab.fin);
  if (!bloqueTrab) return d;
  d.sBloqueTrabajadores = *bloqueTrab;
  return d;
}

DisenoTrabajador cortarDisenoTrabajador(QByteArrayView texto) {
  DisenoTrabajador d;
  const Texto t(texto);
  const qint64 inicio = t.posicion(kInicioBeneficiarios);
  const qint64 fin = t.posicion(kFinBeneficiarios);
  const std::optional<QByteArray> antes = t.cut(1, inicio - 1);
  if (!antes) return d;
  d.sDisenoEmpleado = *antes + kBloqueBeneficiarios + t.rest(fin + kFinBeneficiarios.size());
  const auto bloque = entre(t, inicio, kInicioBeneficiarios, fin);
  if (!bloque) return d;
  d.sBloqueBeneficiarios = *bloque;
  return d;
}

Leido<QByteArray> leerPlantilla(const QString& path) {
  LineReader reader;
  if (Status s = reader.open(path); !s.isOk()) return {s, {}};
  QByteArray texto;
  while (auto line = reader.next()) {
    texto += *line;
    texto += "\r\n";
  }
  if (!reader.status().isOk()) return {reader.status(), {}};
  return {Status::ok(), texto};
}

namespace {

template <typename Diseno>
Leido<Diseno> leerDiseno(const QString& path, const char* nombre, Diseno (*cortar)(QByteArrayView),
                         const ShowMessage& showMessage) {
  if (!existeArchivo(path)) {
    if (showMessage) showMessage(QStringLiteral("No se encuentra el archivo ") + QLatin1StringView(nombre));
    return {};
  }
  // Blank pages from a template that is there but unreadable would pass
  // for a printout.
  const Leido<QByteArray> leido = leerPlantilla(path);
  if (!leido.status.isOk()) return {leido.status, {}};
  return {Status::ok(), cortar(leido.texto)};
}

}  // namespace

Leido<DisenoConsorcio> leerDisenoConsorcio(const QString& path, const ShowMessage& showMessage) {
  return leerDiseno(path, "DisenoConsorcio.htm", &cortarDisenoConsorcio, showMessage);
}

Leido<DisenoTrabajador> leerDisenoTrabajador(const QString& path, const ShowMessage& showMessage) {
  return leerDiseno(path, "DisenoTrabajador.htm", &cortarDisenoTrabajador, showMessage);
}

}  // namespace tarquelas
