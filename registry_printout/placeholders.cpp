#include "registry_printout/placeholders.h"

#include <cmath>

#include "declarations/registry_layout.h"
#include "support/fields.h"
#include "support/varias.h"

namespace tarquelas::printout {
namespace {

using enum Grupo;
using enum Regla;

constexpr Marcador kTabla[] = {
    // Presentation values, from the header line (index unused).
    {"<@@IDPRESENTACION@@>", Presentacion, 0, Texto},
    {"<@@FECHAPRESENTACION@@>", Presentacion, 1, Texto},
    {"<@@HORAPRESENTACION@@>", Presentacion, 2, Texto},
    // Consortium, from aConsorcios.
    {"<@@CUIT1@@>", Consorcio, 0, Texto},
    {"<@@CLAVE1@@>", Consorcio, 1, SinCeros},
    {"<@@CALLE1@@>", Consorcio, 2, Texto},
    {"<@@NUMERO1@@>", Consorcio, 3, SinCeros},
    {"<@@CODIGOPOSTAL1@@>", Consorcio, 4, Texto},
    {"<@@PISOS1@@>", Consorcio, 5, Entero},
    {"<@@UNIDADES1@@>", Consorcio, 6, Entero},
    {"<@@FECHAINICIO1@@>", Consorcio, 7, Fecha},
    {"<@@CATEGORIA1@@>", Consorcio, 8, Texto},
    {"<@@EXPENSAS1@@>", Consorcio, 9, Importe},
    {"<@@RENTAHORIZONTAL1@@>", Consorcio, 10, Texto},
    {"<@@PROPIETARIO1@@>", Consorcio, 11, Texto},
    {"<@@AUTOADMINISTRADO1@@>", Consorcio, 12, Texto},
    // Administration, from aAdministraciones.
    {"<@@CUITA@@>", Administracion, 0, Texto},
    {"<@@DENOMINACIONA@@>", Administracion, 1, Texto},
    {"<@@CALLEA@@>", Administracion, 2, Texto},
    {"<@@NUMEROA@@>", Administracion, 3, SinCeros},
    {"<@@PISOA@@>", Administracion, 4, SinCeros},
    {"<@@DEPTOA@@>", Administracion, 5, SinCeros},
    {"<@@CODIGOPOSTALA@@>", Administracion, 6, Texto},
    {"<@@TELEFONOSA@@>", Administracion, 7, Texto},
    {"<@@EMAILA@@>", Administracion, 8, Texto},
    {"<@@RESPONSABLEA@@>", Administracion, 9, Texto},
    {"<@@CABAA@@>", Administracion, 10, NumeroCABA},
    // Worker, from aTrabajadores.
    {"<@@CUIT2@@>", Trabajador, 0, Texto},
    {"<@@CUIL2@@>", Trabajador, 1, Texto},
    {"<@@APELLIDO2@@>", Trabajador, 2, Texto},
    {"<@@NOMBRES2@@>", Trabajador, 3, Texto},
    {"<@@TIPODOC2@@>", Trabajador, 4, Texto},
    {"<@@NRODOC2@@>", Trabajador, 5, SinCeros},
    {"<@@SEXO2@@>", Trabajador, 6, Texto},
    {"<@@ESTADOCIVIL2@@>", Trabajador, 7, Texto},
    {"<@@FECHANACIMIENTO2@@>", Trabajador, 8, Fecha},
    {"<@@OBRASOCIAL2@@>", Trabajador, 9, SinCeros},
    {"<@@CALLE2@@>", Trabajador, 10, Texto},
    {"<@@NUMERO2@@>", Trabajador, 11, SinCeros},
    {"<@@PISO2@@>", Trabajador, 12, SinCeros},
    {"<@@DEPTO2@@>", Trabajador, 13, SinCeros},
    {"<@@CODIGOPOSTAL2@@>", Trabajador, 14, Texto},
    {"<@@TELEFONOS2@@>", Trabajador, 15, Texto},
    {"<@@EMAIL2@@>", Trabajador, 16, Texto},
    {"<@@NACIONALIDAD2@@>", Trabajador, 17, Nacionalidad},
    {"<@@FUNCION2@@>", Trabajador, 19, Texto},
    // Beneficiary, from aBeneficiarios.
    {"<@@APELLIDO3@@>", Beneficiario, 2, Texto},
    {"<@@NOMBRES3@@>", Beneficiario, 3, Texto},
    {"<@@TIPODOC3@@>", Beneficiario, 4, Texto},
    {"<@@NRODOC3@@>", Beneficiario, 5, SinCeros},
    {"<@@PARENTESCO3@@>", Beneficiario, 6, Texto},
    {"<@@PORCENTAJE3@@>", Beneficiario, 7, SinCeros},
    // Blocks, put into the page designs when the templates are cut.
    {"<@@BLOQUEADMINISTRACIONES@@>", BloqueAdministraciones, 0, Texto},
    {"<@@BLOQUETRABAJADORES@@>", BloqueTrabajadores, 0, Texto},
    {"<@@BLOQUEBENEFICIARIOS@@>", BloqueBeneficiarios, 0, Texto},
};

constexpr qsizetype kCantidad = std::size(kTabla);
constexpr QByteArrayView kInicio = "<@@";

QByteArray decimal(quint64 n) { return QByteArray::number(n); }

quint64 absoluto(qint64 n) { return n < 0 ? quint64(0) - quint64(n) : quint64(n); }

QByteArray entero(QByteArrayView text) {
  const std::optional<qint64> n = valorEntero(text);
  return n ? QByteArray::number(*n) : text.toByteArray();
}

// The point goes before the last two digits; below one peso nothing stands
// before it (".45"), and below ten cents the tens digit is a zero (".05").
QByteArray importe(QByteArrayView text) {
  const std::optional<qint64> n = valorEntero(text);
  if (!n) return text.toByteArray();
  const quint64 centavos = absoluto(*n);
  QByteArray out = *n < 0 ? QByteArray("-") : QByteArray();
  if (centavos >= 100) out += decimal(centavos / 100);
  out += '.';
  out += decimal(centavos % 100).rightJustified(2, '0');
  return out;
}

QByteArray numeroCABA(QByteArrayView text) {
  if (!esNumerico(text)) return text.toByteArray();
  // A number beyond a double's range (1e400, 1e-400) does not read, and
  // is written as it stands rather than as 0.
  bool leido = false;
  const double v = std::floor(trimBlanks(text).toByteArray().toDouble(&leido));
  if (!leido) return text.toByteArray();
  // Outside 64 bits (or not finite) the number cannot be written whole.
  if (!(v >= -9.2e18 && v <= 9.2e18)) return text.toByteArray();
  return sacaCeros(QByteArray::number(qint64(v)));
}

QByteArray fecha(QByteArrayView text) {
  return mid(text, 7, 2).toByteArray() + '/' + mid(text, 5, 2) + '/' + mid(text, 1, 4);
}

QByteArrayView textoEn(const Entry& entry, int indice) { return entry.value(indice); }

QByteArray valorDe(const Marcador& m, const Entry& entry) {
  if (m.regla == Nacionalidad) return textoEn(entry, textoEn(entry, 17) == "OTRA" ? 18 : 17).toByteArray();
  return aplicarRegla(m.regla, textoEn(entry, m.indice));
}

int slotDe(QByteArrayView nombre) {
  for (qsizetype i = 0; i < kCantidad; ++i)
    if (QByteArrayView(kTabla[i].nombre) == nombre) return int(i);
  return -1;
}

bool enGrupos(Grupo g, std::initializer_list<Grupo> grupos) {
  for (Grupo x : grupos)
    if (x == g) return true;
  return false;
}

// The slot of the known placeholder that starts at the front of text.
int slotAlFrente(QByteArrayView text, std::initializer_list<Grupo> grupos) {
  for (qsizetype i = 0; i < kCantidad; ++i)
    if (enGrupos(kTabla[i].grupo, grupos) && text.startsWith(QByteArrayView(kTabla[i].nombre))) return int(i);
  return -1;
}

}  // namespace

const std::span<const Marcador> kMarcadores{kTabla};

Valores valoresVacios() { return Valores(kCantidad); }

QByteArray aplicarRegla(Regla regla, QByteArrayView text) {
  switch (regla) {
    case Texto: return text.toByteArray();
    case SinCeros: return sacaCeros(text);
    case Entero: return entero(text);
    case Fecha: return fecha(text);
    case Importe: return importe(text);
    case NumeroCABA: return numeroCABA(text);
    case Nacionalidad: return text.toByteArray();
  }
  return text.toByteArray();
}

QByteArray escaparHtml(QByteArrayView text) {
  QByteArray out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

void ponerValores(Valores& valores, Grupo grupo, const Entry& entry) {
  for (qsizetype i = 0; i < kCantidad; ++i)
    if (kTabla[i].grupo == grupo) valores[i] = escaparHtml(valorDe(kTabla[i], entry));
}

void ponerPresentacion(Valores& valores, QByteArrayView cabecera) {
  namespace header = registry::header;
  const QByteArray numero = sacaCeros(header::presentationId.in(cabecera));
  const QByteArray fechaTexto = header::presentationDay.in(cabecera).toByteArray() + '/' +
                                header::presentationMonth.in(cabecera) + '/' +
                                header::presentationYear.in(cabecera);
  const QByteArray hora =
      header::presentationHour.in(cabecera).toByteArray() + ':' + header::presentationMinutes.in(cabecera);
  valores[slotDe("<@@IDPRESENTACION@@>")] = escaparHtml(numero);
  valores[slotDe("<@@FECHAPRESENTACION@@>")] = escaparHtml(fechaTexto);
  valores[slotDe("<@@HORAPRESENTACION@@>")] = escaparHtml(hora);
}

void ponerBloque(Valores& valores, Grupo bloque, QByteArray texto) {
  for (qsizetype i = 0; i < kCantidad; ++i)
    if (kTabla[i].grupo == bloque) valores[i] = std::move(texto);
}

Plantilla::Plantilla(QByteArrayView diseno, std::initializer_list<Grupo> grupos) {
  QByteArray literal;
  qsizetype desde = 0;
  for (;;) {
    const qsizetype en = diseno.indexOf(kInicio, desde);
    if (en < 0) break;
    const int slot = slotAlFrente(diseno.sliced(en), grupos);
    const qsizetype hasta = slot < 0 ? en + 1 : en + qsizetype(qstrlen(kTabla[slot].nombre));
    literal += diseno.sliced(desde, en - desde);
    if (slot < 0) {
      literal += diseno[en];
    } else {
      largoLiterales_ += literal.size();
      piezas_.append({std::move(literal), slot});
      literal = QByteArray();
    }
    desde = hasta;
  }
  literal += diseno.sliced(desde);
  largoLiterales_ += literal.size();
  piezas_.append({std::move(literal), -1});
}

void Plantilla::rellenarEn(QByteArray& out, const Valores& valores) const {
  for (const Pieza& p : piezas_) {
    out += p.literal;
    if (p.slot >= 0) out += valores[p.slot];
  }
}

QByteArray Plantilla::rellenar(const Valores& valores) const {
  QByteArray out;
  out.reserve(largoLiterales_);
  rellenarEn(out, valores);
  return out;
}

}  // namespace tarquelas::printout
