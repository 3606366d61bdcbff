// The indexed assembly against a plain reference that scans every list once per consortium and
// per worker, as the office describes the printout. Designs print each entry's key or name, so
// both must give the same Padron.html, byte for byte, on data full of duplicates.
#include <random>

#include "printout_fixture.h"
#include "support/fields.h"

namespace tarquelas::testing {
namespace {

// Keys are compared trimmed; texts print as they are.
QByteArray t(const Entry& e, int i) { return trimBlanks(e.value(i)).toByteArray(); }
QByteArray v(const Entry& e, int i) { return e.value(i).toByteArray(); }

// The described loops, kept as plain as they are described, for the designs of ReferenceTest.
QByteArray referencia(const Registry& reg, bool trabajadores) {
  QByteArray out = "\r\n";
  for (const Entry& c : reg.aConsorcios) {
    if (c.isEmpty()) continue;
    QByteArray admins, trabs, paginas;
    for (const Entry& rel : reg.aRelaciones)
      if (!rel.isEmpty() && t(rel, 0) == t(c, 0))
        for (const Entry& a : reg.aAdministraciones)
          if (!a.isEmpty() && t(a, 0) == t(rel, 1)) admins += "A" + v(a, 1) + "\r\n";
    for (const Entry& w : reg.aTrabajadores) {
      if (t(w, 0).isEmpty() || t(w, 0) != t(c, 0)) continue;
      trabs += "W" + v(w, 2) + "\r\n";
      const Entry* ultimo = &c;  // the last consortium with the C.U.I.T.
      for (const Entry& d : reg.aConsorcios)
        if (!d.isEmpty() && t(d, 0) == t(w, 0)) ultimo = &d;
      QByteArray benefs;
      for (const Entry& b : reg.aBeneficiarios)
        if (!t(b, 1).isEmpty() && t(b, 1) == t(w, 0) && t(b, 0) == t(w, 1)) benefs += "B" + v(b, 2) + "\r\n";
      paginas += "P" + v(*ultimo, 2) + "," + v(w, 2) + "[" + benefs + "]\r\n\r\n" + kBR;
    }
    out += "C" + v(c, 0) + "," + v(c, 2) + "[" + admins + trabs + "]\r\n" + kBR + "\r\n";
    if (trabajadores) out += paginas + "\r\n";
  }
  return out;
}

// A registry file full of duplicates: few C.U.I.T.s and C.U.I.L.s, each used many times,
// records in shuffled order, names that tell entries apart.
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

TEST_F(PrintoutTest, IndexedOutputEqualsTheScanningReference) {
  plantillas(disenoConsorcio("C<@@CUIT1@@>,<@@CALLE1@@>[", "A<@@DENOMINACIONA@@>", "W<@@APELLIDO2@@>") + "]",
             disenoTrabajador("P<@@CALLE1@@>,<@@APELLIDO2@@>[", "B<@@APELLIDO3@@>") + "]");
  QList<Registry> registries;
  for (unsigned semilla = 1; semilla <= 10; ++semilla) {
    ASSERT_TRUE(writeBytes(paths_.auxiliar, registroEnredado(semilla)));
    registries << cargarPadron(paths_.auxiliar).registry;
  }
  // Entries no validated file holds: blank keys, short entries, keys with blanks around them.
  Registry raro;
  raro.aConsorcios = {Entry{}, Entry{"X"}, Entry(kTextosConsorcio), Entry{" X "}, Entry{"Y", "k", "c"}};
  raro.aAdministraciones = {Entry{"A", "uno"}, Entry(kTextosAdministracion), Entry{"A", "dos"}};
  raro.aRelaciones = {Entry{"X", "A"}, Entry{"", ""}, Entry{}, Entry{"X", " A"}, Entry{"Y"}};
  raro.aTrabajadores = {Entry{"X", "W", "w1"}, Entry{"", "W", "w2"}, Entry{"Y", "W", "w3"}, Entry{},
                        Entry{"X"}};
  raro.aBeneficiarios = {Entry{"W", "X", "b1"}, Entry{"W", "", "b2"}, Entry{"W", "Y", "b3"},
                         Entry{"", "X", "b4"}, Entry{"W", " X", "b5"}};
  registries << raro;
  for (const Registry& reg : registries) {
    for (bool trabajadores : {true, false}) {
      ASSERT_TRUE(GenerarHTMLFinal(reg, paths_, cabecera(), trabajadores, recorder()).isOk());
      const QByteArray esperado = referencia(reg, trabajadores);
      EXPECT_EQ(readBytes(paths_.padron).toStdString(), esperado.toStdString());
      // The data really is tangled: blocks repeat and beneficiaries show.
      EXPECT_TRUE(&reg == &raro || esperado.count("\r\nA") > esperado.count("\r\nC"));
      EXPECT_TRUE(&reg == &raro || !trabajadores || esperado.contains("\r\nB"));
    }
  }
}

}  // namespace
}  // namespace tarquelas::testing
