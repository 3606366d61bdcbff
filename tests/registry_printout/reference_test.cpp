// The indexed assembly against a plain reference that scans every list
// once per consortium and per worker, as the office describes the
// printout. Both must give the same Padron.html, byte for byte, on data
// full of duplicates.
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
      QByteArray admins, trabs, paginas;
      for (const Entry& rel : reg_.aRelaciones)
        if (!rel.isEmpty() && t(rel, 0) == t(c, 0))
          for (const Entry& a : reg_.aAdministraciones)
            if (!a.isEmpty() && t(a, 0) == t(rel, 1)) admins += bloque(admin_, Grupo::Administracion, a);
      for (const Entry& w : reg_.aTrabajadores) {
        if (t(w, 0).isEmpty() || t(w, 0) != t(c, 0)) continue;
        trabs += bloque(trab_, Grupo::Trabajador, w);
        paginas += paginaTrabajador(w);
      }
      printout::ponerBloque(v, Grupo::BloqueAdministraciones, admins);
      printout::ponerBloque(v, Grupo::BloqueTrabajadores, trabs);
      out += pagina_.rellenar(v) + kBR + "\r\n";
      if (trabajadores) out += paginas + "\r\n";
    }
    return out;
  }

 private:
  static QByteArray t(const Entry& e, int i) {
    return i < e.size() ? trimBlanks(e[i]).toByteArray() : QByteArray();
  }
  static QByteArray bloque(const Plantilla& p, Grupo g, const Entry& e) {
    Valores v = printout::valoresVacios();
    printout::ponerValores(v, g, e);
    return p.rellenar(v) + "\r\n";
  }

  QByteArray paginaTrabajador(const Entry& w) const {
    const Entry* consorcio = nullptr;  // the last one with the C.U.I.T.
    for (const Entry& c : reg_.aConsorcios)
      if (!c.isEmpty() && t(c, 0) == t(w, 0)) consorcio = &c;
    QByteArray benefs;
    for (const Entry& b : reg_.aBeneficiarios)
      if (!t(b, 1).isEmpty() && t(b, 1) == t(w, 0) && t(b, 0) == t(w, 1))
        benefs += bloque(benef_, Grupo::Beneficiario, b);
    Valores v = presentacion_;
    printout::ponerValores(v, Grupo::Consorcio, consorcio ? *consorcio : Entry{});
    printout::ponerValores(v, Grupo::Trabajador, w);
    printout::ponerBloque(v, Grupo::BloqueBeneficiarios, benefs);
    return empleado_.rellenar(v) + "\r\n" + kBR;
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

class ReferenceTest : public PrintoutTest {
 protected:
  void SetUp() override {
    plantillas(
        disenoConsorcio(todos(Grupo::Presentacion) + todos(Grupo::Consorcio) + "\r\n",
                        "A:" + todos(Grupo::Administracion), "\r\nW:" + todos(Grupo::Trabajador)) +
            "\r\nfin",
        disenoTrabajador(todos(Grupo::Presentacion) + todos(Grupo::Consorcio) + todos(Grupo::Trabajador),
                         "\r\nB:" + todos(Grupo::Beneficiario)) +
            "\r\nfin");
  }
  // Prints reg both ways and returns the reference's Padron.html.
  QByteArray comparar(const Registry& reg, bool trabajadores) {
    const DisenoConsorcio dc = cortarDisenoConsorcio(*leerPlantilla(paths_.disenoConsorcio));
    const DisenoTrabajador dt = cortarDisenoTrabajador(*leerPlantilla(paths_.disenoTrabajador));
    EXPECT_TRUE(GenerarHTMLFinal(reg, paths_, cabecera(), trabajadores, recorder()).isOk());
    const QByteArray esperado = Referencia(reg, dc, dt, cabecera()).padron(trabajadores);
    EXPECT_EQ(readBytes(paths_.padron), esperado);
    return esperado;
  }
};

// A registry file full of duplicates: few C.U.I.T.s and C.U.I.L.s, each
// used many times, records in shuffled order, names that tell entries apart.
QByteArray registroEnredado(unsigned semilla) {
  std::mt19937 rng(semilla);
  auto uno = [&](const QList<QByteArray>& de) { return de[rng() % de.size()]; };
  const QList<QByteArray> consorcios = {"30500010912", "33693450239", "30710000002"};
  const QList<QByteArray> admins = {"33637617449", "30710000002", "20999999990"};
  const QList<QByteArray> cuils = {"20123456786", "20000000011", "27000000006"};
  QByteArray aux = cabecera() + "\r\n", actual;
  for (int n = 1; n <= 120; ++n) {
    const QByteArray nombre = "E" + QByteArray::number(n);
    switch (rng() % 6) {
      case 0: aux += consorcio(n, actual = uno(consorcios), {{registry::consortium::street, nombre}}); break;
      case 1: aux += administracion(n, uno(admins), nombre); break;
      case 2: aux += relacion(n, uno(consorcios), uno(admins)); break;
      case 3: aux += trabajador(n, uno(cuils), rng() % 5 ? actual : uno(consorcios), nombre); break;
      default: aux += beneficiario(n, uno(cuils), nombre); break;
    }
    aux += "\r\n";
  }
  return aux;
}

TEST_F(ReferenceTest, IndexedOutputEqualsTheScanningReferenceOnTangledRegistries) {
  for (unsigned semilla = 1; semilla <= 10; ++semilla) {
    SCOPED_TRACE(semilla);
    ASSERT_TRUE(writeBytes(paths_.auxiliar, registroEnredado(semilla)));
    const Registry reg = cargarPadron(paths_.auxiliar).registry;
    for (bool trabajadores : {true, false}) {
      const QByteArray esperado = comparar(reg, trabajadores);
      EXPECT_FALSE(esperado.contains("<@@"));  // every placeholder filled
      // The data really is tangled: blocks repeat and beneficiaries show.
      EXPECT_GT(esperado.count("A:"), esperado.count("\r\nfin"));
      EXPECT_TRUE(!trabajadores || esperado.contains("B:"));
    }
  }
}

TEST_F(ReferenceTest, IndexedOutputEqualsTheReferenceOnOddEntries) {
  // Entries no validated file holds: blank keys, short entries, keys with
  // blanks around them.
  Registry reg;
  reg.aConsorcios = {Entry{}, Entry{"X"}, Entry(kTextosConsorcio), Entry{" X "}, Entry{"Y", "k"}};
  reg.aAdministraciones = {Entry{"A", "uno"}, Entry(kTextosAdministracion), Entry{"A", "dos"}};
  reg.aRelaciones = {Entry{"X", "A"}, Entry{"", ""}, Entry{}, Entry{"X", " A"}, Entry{"Y"}};
  reg.aTrabajadores = {Entry{"X", "W"}, Entry{"", "W"}, Entry{"Y", "W"}, Entry{}, Entry{"X"}};
  reg.aBeneficiarios = {Entry{"W", "X", "b1"}, Entry{"W", "", "b2"}, Entry{"W", "Y", "b3"},
                        Entry{"", "X", "b4"}, Entry{"W", " X", "b5"}};
  for (bool trabajadores : {true, false}) comparar(reg, trabajadores);
}

}  // namespace
}  // namespace tarquelas::testing
