// The indexed assembly against a plain reference that scans every list
// once per consortium and per worker, as the office's description of the
// printout reads. Both must give the same Padron.html, byte for byte, on
// data full of duplicates.
#include <random>

#include "printout_fixture.h"
#include "support/fields.h"

namespace tarquelas::testing {
namespace {

using printout::Grupo;
using printout::Plantilla;
using printout::Valores;

// The described loops, kept as plain as they are described.
class Referencia {
 public:
  Referencia(const Registry& reg, const DisenoConsorcio& dc, const DisenoTrabajador& dt,
             QByteArrayView cabecera)
      : reg_(reg),
        pagina_(dc.sDisenoConsorcio, {Grupo::Presentacion, Grupo::Consorcio, Grupo::BloqueAdministraciones,
                                      Grupo::BloqueTrabajadores}),
        admin_(dc.sBloqueAdministraciones, {Grupo::Administracion}),
        trab_(dc.sBloqueTrabajadores, {Grupo::Trabajador}),
        empleado_(dt.sDisenoEmpleado,
                  {Grupo::Presentacion, Grupo::Consorcio, Grupo::Trabajador, Grupo::BloqueBeneficiarios}),
        benef_(dt.sBloqueBeneficiarios, {Grupo::Beneficiario}),
        presentacion_(printout::valoresVacios()) {
    printout::ponerPresentacion(presentacion_, cabecera);
  }

  QByteArray padron(bool trabajadores) const {
    QByteArray out = "\r\n";
    for (const Entry& c : reg_.aConsorcios) {
      if (c.isEmpty()) continue;
      Valores v = presentacion_;
      printout::ponerValores(v, Grupo::Consorcio, c);
      printout::ponerBloque(v, Grupo::BloqueAdministraciones, armarBloqueAdmin(t(c, 0)));
      printout::ponerBloque(v, Grupo::BloqueTrabajadores, armarBloqueTrabajadores(t(c, 0)));
      out += pagina_.rellenar(v) + kBR + "\r\n";
      if (trabajadores) out += generarTrabajadores(t(c, 0)) + "\r\n";
    }
    return out;
  }

 private:
  static QByteArray t(const Entry& e, int i) {
    return i < e.size() ? trimBlanks(e[i]).toByteArray() : QByteArray();
  }

  QByteArray armarBloqueAdmin(const QByteArray& cuit) const {
    QByteArray out;
    Valores v = printout::valoresVacios();
    for (const Entry& rel : reg_.aRelaciones) {
      if (rel.isEmpty() || t(rel, 0) != cuit) continue;
      for (const Entry& a : reg_.aAdministraciones) {
        if (a.isEmpty() || t(a, 0) != t(rel, 1)) continue;
        printout::ponerValores(v, Grupo::Administracion, a);
        out += admin_.rellenar(v) + "\r\n";
      }
    }
    return out;
  }

  QByteArray armarBloqueTrabajadores(const QByteArray& cuit) const {
    QByteArray out;
    Valores v = printout::valoresVacios();
    for (const Entry& w : reg_.aTrabajadores) {
      if (t(w, 0).isEmpty() || t(w, 0) != cuit) continue;
      printout::ponerValores(v, Grupo::Trabajador, w);
      out += trab_.rellenar(v) + "\r\n";
    }
    return out;
  }

  const Entry* getConsorcio(const QByteArray& cuit) const {
    const Entry* found = nullptr;
    for (const Entry& c : reg_.aConsorcios)
      if (!c.isEmpty() && t(c, 0) == cuit) found = &c;
    return found;
  }

  QByteArray armarBloqueBeneficiarios(const QByteArray& cuit, const QByteArray& cuil) const {
    QByteArray out;
    Valores v = printout::valoresVacios();
    for (const Entry& b : reg_.aBeneficiarios) {
      if (t(b, 1).isEmpty() || t(b, 1) != cuit || t(b, 0) != cuil) continue;
      printout::ponerValores(v, Grupo::Beneficiario, b);
      out += benef_.rellenar(v) + "\r\n";
    }
    return out;
  }

  QByteArray generarTrabajadores(const QByteArray& cuit) const {
    const Entry* c = getConsorcio(cuit);
    QByteArray out;
    for (const Entry& w : reg_.aTrabajadores) {
      if (t(w, 0).isEmpty() || t(w, 0) != cuit) continue;
      Valores v = presentacion_;
      printout::ponerValores(v, Grupo::Consorcio, c ? *c : Entry{});
      printout::ponerValores(v, Grupo::Trabajador, w);
      printout::ponerBloque(v, Grupo::BloqueBeneficiarios, armarBloqueBeneficiarios(t(w, 0), t(w, 1)));
      out += empleado_.rellenar(v) + "\r\n" + kBR;
    }
    return out;
  }

  const Registry& reg_;
  Plantilla pagina_, admin_, trab_, empleado_, benef_;
  Valores presentacion_;
};

// Designs that show every placeholder, so any entry mix-up shows.
QByteArray todos(Grupo g) {
  QByteArray out;
  for (const printout::Marcador& m : printout::kMarcadores)
    if (m.grupo == g) out += QByteArray(m.nombre) + "|";
  return out;
}

const QByteArray kConsorcioCompleto =
    todos(Grupo::Presentacion) + todos(Grupo::Consorcio) +
    "\r\n<@@INICIOBLOQUEADMINISTRACIONES@@>A:" + todos(Grupo::Administracion) +
    "<@@FINBLOQUEADMINISTRACIONES@@>\r\n<@@INICIOBLOQUETRABAJADORES@@>W:" + todos(Grupo::Trabajador) +
    "<@@FINBLOQUETRABAJADORES@@>\r\nfin";
const QByteArray kTrabajadorCompleto = todos(Grupo::Presentacion) + todos(Grupo::Consorcio) +
                                       todos(Grupo::Trabajador) +
                                       "\r\n<@@INICIOBLOQUEBENEFICIARIOS@@>B:" + todos(Grupo::Beneficiario) +
                                       "<@@FINBLOQUEBENEFICIARIOS@@>\r\nfin";

// A registry file full of duplicates: few C.U.I.T.s and C.U.I.L.s, each
// used many times, records in shuffled order, names that tell entries apart.
QList<QByteArray> registroEnredado(unsigned semilla) {
  std::mt19937 rng(semilla);
  auto uno = [&](const QList<QByteArray>& de) { return de[rng() % de.size()]; };
  const QList<QByteArray> consorcios = {"30500010912", "33693450239", "30710000002"};
  const QList<QByteArray> admins = {"33637617449", "30710000002", "20999999990"};
  const QList<QByteArray> cuils = {"20123456786", "20000000011", "27000000006"};
  QList<QByteArray> lineas = {cabecera()};
  int n = 0;
  QByteArray actual;
  for (int i = 0; i < 120; ++i) {
    const QByteArray nombre = "E" + QByteArray::number(i);
    switch (rng() % 6) {
      case 0:
        actual = uno(consorcios);
        lineas << consorcio(++n, actual, {{registry::consortium::street, nombre}});
        break;
      case 1: lineas << administracion(++n, uno(admins), nombre); break;
      case 2: lineas << relacion(++n, uno(consorcios), uno(admins)); break;
      case 3: lineas << trabajador(++n, uno(cuils), rng() % 5 ? actual : uno(consorcios), nombre); break;
      default: lineas << beneficiario(++n, uno(cuils), nombre); break;
    }
  }
  return lineas;
}

TEST_F(PrintoutTest, IndexedOutputEqualsTheScanningReference) {
  plantillas(kConsorcioCompleto, kTrabajadorCompleto);
  const DisenoConsorcio dc = cortarDisenoConsorcio(*leerPlantilla(paths_.disenoConsorcio));
  const DisenoTrabajador dt = cortarDisenoTrabajador(*leerPlantilla(paths_.disenoTrabajador));
  for (unsigned semilla = 1; semilla <= 20; ++semilla) {
    const QList<QByteArray> lineas = registroEnredado(semilla);
    QByteArray aux;
    for (const QByteArray& l : lineas) aux += l + "\r\n";
    ASSERT_TRUE(writeBytes(paths_.auxiliar, aux));
    const Registry reg = cargarPadron(paths_.auxiliar).registry;
    for (bool trabajadores : {true, false}) {
      ASSERT_TRUE(GenerarHTMLFinal(reg, paths_, cabecera(), trabajadores, recorder()).isOk());
      const QByteArray esperado = Referencia(reg, dc, dt, cabecera()).padron(trabajadores);
      ASSERT_EQ(readBytes(paths_.padron), esperado) << "seed " << semilla;
      // The data really is tangled: blocks repeat and beneficiaries show.
      EXPECT_GT(esperado.count("A:"), esperado.count("\r\nfin")) << "seed " << semilla;
      if (trabajadores) {
        EXPECT_GT(esperado.count("B:"), 0) << "seed " << semilla;
      }
    }
  }
}

TEST_F(PrintoutTest, IndexedOutputEqualsTheReferenceOnOddEntries) {
  // Entries no validated file holds: blank keys, short entries, keys with
  // blanks around them.
  plantillas(kConsorcioCompleto, kTrabajadorCompleto);
  const DisenoConsorcio dc = cortarDisenoConsorcio(*leerPlantilla(paths_.disenoConsorcio));
  const DisenoTrabajador dt = cortarDisenoTrabajador(*leerPlantilla(paths_.disenoTrabajador));
  Registry reg;
  reg.aConsorcios = {Entry{}, Entry{"X"}, Entry(kTextosConsorcio), Entry{" X "}, Entry{"Y", "k"}};
  reg.aAdministraciones = {Entry{"A", "uno"}, Entry(kTextosAdministracion), Entry{"A", "dos"}};
  reg.aRelaciones = {Entry{"X", "A"}, Entry{"", ""}, Entry{}, Entry{"X", " A"}, Entry{"Y"}};
  reg.aTrabajadores = {Entry{"X", "W"}, Entry{"", "W"}, Entry{"Y", "W"}, Entry{}, Entry{"X"}};
  reg.aBeneficiarios = {Entry{"W", "X", "b1"}, Entry{"W", "", "b2"}, Entry{"W", "Y", "b3"},
                        Entry{"", "X", "b4"}, Entry{"W", " X", "b5"}};
  for (bool trabajadores : {true, false}) {
    ASSERT_TRUE(GenerarHTMLFinal(reg, paths_, cabecera(), trabajadores, recorder()).isOk());
    EXPECT_EQ(readBytes(paths_.padron), Referencia(reg, dc, dt, cabecera()).padron(trabajadores));
  }
}

}  // namespace
}  // namespace tarquelas::testing
