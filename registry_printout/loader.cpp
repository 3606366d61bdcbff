// Loading of the validated registry copy into the registry lists. Each
// record type has a column layout (data): where each text of its entry
// comes from and which code table, if any, translates it.
#include <QVarLengthArray>
#include <array>

#include "declarations/registry_layout.h"
#include "registry_printout/code_tables.h"
#include "registry_printout/printout.h"
#include "support/fields.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas {
namespace {

namespace r = registry;

enum class Fuente { Campo, TipoDeDocumento, EstadoCivil, Nacionalidad, Funcion, UltimoConsorcio };

struct Columna {
  Fuente fuente;
  Field campo;
};

constexpr Columna campo(Field f) { return {Fuente::Campo, f}; }

constexpr std::array<Columna, kTextosAdministracion> kAdministracion = {
    campo(r::administration::cuit),       campo(r::administration::name),
    campo(r::administration::street),     campo(r::administration::streetNumber),
    campo(r::administration::floor),      campo(r::administration::apartment),
    campo(r::administration::postalCode), campo(r::administration::telephones),
    campo(r::administration::email),      campo(r::administration::personInCharge),
    campo(r::administration::cabaNumber),
};

// The C.U.I.T. comes first although it stands second in the record.
constexpr std::array<Columna, kTextosConsorcio> kConsorcio = {
    campo(r::consortium::cuit),
    campo(r::consortium::key),
    campo(r::consortium::street),
    campo(r::consortium::streetNumber),
    campo(r::consortium::postalCode),
    campo(r::consortium::floors),
    campo(r::consortium::units),
    campo(r::consortium::startDate),
    campo(r::consortium::category),
    campo(r::consortium::commonCharges),
    campo(r::consortium::rentOrHorizontal),
    campo(r::consortium::owner),
    campo(r::consortium::selfAdministered),
};

constexpr std::array<Columna, kTextosTrabajador> kTrabajador = {
    campo(r::worker::consortiumCuit),
    campo(r::worker::cuil),
    campo(r::worker::surname),
    campo(r::worker::givenNames),
    Columna{Fuente::TipoDeDocumento, r::worker::documentType},
    campo(r::worker::documentNumber),
    campo(r::worker::sex),
    Columna{Fuente::EstadoCivil, r::worker::civilStatus},
    campo(r::worker::birthDate),
    campo(r::worker::healthInsurance),
    campo(r::worker::street),
    campo(r::worker::streetNumber),
    campo(r::worker::floor),
    campo(r::worker::apartment),
    campo(r::worker::postalCode),
    campo(r::worker::telephones),
    campo(r::worker::email),
    Columna{Fuente::Nacionalidad, r::worker::nationality},
    campo(r::worker::nationalityInWords),
    Columna{Fuente::Funcion, r::worker::jobFunction},
};

constexpr std::array<Columna, kTextosBeneficiario> kBeneficiario = {
    campo(r::beneficiary::workerCuil),
    Columna{Fuente::UltimoConsorcio, {}},
    campo(r::beneficiary::surname),
    campo(r::beneficiary::givenNames),
    Columna{Fuente::TipoDeDocumento, r::beneficiary::documentType},
    campo(r::beneficiary::documentNumber),
    campo(r::beneficiary::relationship),
    campo(r::beneficiary::percentage),
};

constexpr std::array<Columna, kTextosRelacion> kRelacion = {
    campo(r::relation::consortiumCuit),
    campo(r::relation::administrationCuit),
};

// Which list a record type fills and with which layout.
struct TipoDeRegistro {
  char tipo;
  QList<Entry> Registry::*lista;
  std::span<const Columna> columnas;
};

const TipoDeRegistro kTipos[] = {
    {r::kAdministrationType, &Registry::aAdministraciones, kAdministracion},
    {r::kConsortiumType, &Registry::aConsorcios, kConsorcio},
    {r::kWorkerType, &Registry::aTrabajadores, kTrabajador},
    {r::kBeneficiaryType, &Registry::aBeneficiarios, kBeneficiario},
    {r::kRelationType, &Registry::aRelaciones, kRelacion},
};

const TipoDeRegistro* tipoDe(QByteArrayView line) {
  const QByteArrayView tipo = r::recordType.in(line);
  if (tipo.isEmpty()) return nullptr;
  for (const TipoDeRegistro& t : kTipos)
    if (t.tipo == tipo[0]) return &t;
  return nullptr;
}

QByteArrayView texto(const Columna& c, QByteArrayView line, QByteArrayView ultimoConsorcio) {
  const QByteArrayView codigo = c.campo.trimmedIn(line);
  switch (c.fuente) {
    case Fuente::Campo: return codigo;
    case Fuente::TipoDeDocumento: return getTipoDeDocumento(codigo);
    case Fuente::EstadoCivil: return getEstadoCivil(codigo);
    case Fuente::Nacionalidad: return getNacionalidad(sacaCeros(codigo));
    case Fuente::Funcion: return getFunciones(codigo);
    case Fuente::UltimoConsorcio: return ultimoConsorcio;
  }
  return {};
}

Entry armarEntrada(std::span<const Columna> columnas, QByteArrayView line, QByteArrayView ultimoConsorcio) {
  QVarLengthArray<QByteArrayView, kTextosTrabajador> textos;
  for (const Columna& c : columnas) textos.append(texto(c, line, ultimoConsorcio));
  return Entry(std::span<const QByteArrayView>(textos.constData(), textos.size()));
}

// Reads every line into registry; the first record of a type takes the
// place of its list's empty entry.
class Cargador {
 public:
  void cargar(QByteArrayView line) {
    const TipoDeRegistro* tipo = tipoDe(line);
    if (!tipo) return;
    if (tipo->tipo == r::kConsortiumType)
      ultimoConsorcio_ = r::consortium::cuit.trimmedIn(line).toByteArray();
    QList<Entry>& lista = registry_.*(tipo->lista);
    if (lista.size() == 1 && esEntradaVacia(lista.front())) lista.clear();
    lista.append(armarEntrada(tipo->columnas, line, ultimoConsorcio_));
  }
  Registry&& resultado() { return std::move(registry_); }

 private:
  Registry registry_;
  QByteArray ultimoConsorcio_;
};

constexpr qint64 kLineasPorAviso = 8192;

}  // namespace

LoadResult cargarPadron(const QString& auxPath, Progress& progress) {
  LoadResult result;
  const QString path = sinBlancosLaterales(auxPath);
  // No copy at all is a registry without records (an empty presentation file).
  if (!existeArchivo(path)) return result;
  LineReader reader;
  if (result.status = reader.open(path); !result.status.isOk()) return result;
  Cargador cargador;
  while (auto line = reader.next()) {
    cargador.cargar(*line);
    if (reader.lineCount() % kLineasPorAviso == 0 &&
        !progress.report(Progress::Stage::WritingPrintout, 0, 0)) {
      result.status = Status::cancelled();
      return result;
    }
  }
  if (result.status = reader.status(); !result.status.isOk()) return result;
  result.registry = cargador.resultado();
  return result;
}

}  // namespace tarquelas
