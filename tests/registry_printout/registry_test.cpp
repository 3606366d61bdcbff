// Entries of the registry lists: fixed texts in one buffer.
#include "registry_printout/registry.h"

#include <gtest/gtest.h>

namespace tarquelas {
namespace {

TEST(Entry, HoldsItsTextsInOrder) {
  const Entry e{"30500010912", "", "AV. SIEMPRE VIVA", "\xD1"};
  ASSERT_EQ(e.size(), 4);
  EXPECT_EQ(e[0], "30500010912");
  EXPECT_EQ(e[1], "");
  EXPECT_EQ(e[2], "AV. SIEMPRE VIVA");
  EXPECT_EQ(e[3], "\xD1");
  EXPECT_EQ(e.value(4), "");
  EXPECT_EQ(e.value(-1), "");
}

TEST(Entry, EmptyEntryHasNoTextsButEmptyTextsCount) {
  EXPECT_TRUE(Entry().isEmpty());
  EXPECT_TRUE(esEntradaVacia(Entry{}));
  const Entry blancos(kTextosConsorcio);
  EXPECT_FALSE(blancos.isEmpty());
  EXPECT_EQ(blancos.size(), kTextosConsorcio);
  EXPECT_EQ(blancos[12], "");
}

TEST(Entry, ComparesByTexts) {
  EXPECT_EQ((Entry{"a", "bc"}), Entry(QList<QByteArray>{"a", "bc"}));
  EXPECT_NE((Entry{"a", "bc"}), (Entry{"ab", "c"}));
  EXPECT_NE((Entry{"a"}), (Entry{"a", ""}));
  EXPECT_NE(Entry(), Entry(1));
}

TEST(Entry, IteratesOverCopiesOfItsTexts) {
  QList<QByteArray> textos;
  for (const QByteArray& t : Entry{"x", "", "yz"}) textos << t;
  EXPECT_EQ(textos, QList<QByteArray>({"x", "", "yz"}));
}

TEST(Entry, LongTextsAndCopiesStayIntact) {
  const QByteArray largo(100000, 'x');
  Entry e{largo, "fin"};
  const Entry copia = e;
  e = Entry{"otro"};
  EXPECT_EQ(copia[0], largo);
  EXPECT_EQ(copia[1], "fin");
  EXPECT_EQ(e[0], "otro");
}

TEST(Registry, DefaultHoldsOneEmptyEntryPerList) {
  const Registry r;
  for (const auto* lista :
       {&r.aAdministraciones, &r.aConsorcios, &r.aTrabajadores, &r.aBeneficiarios, &r.aRelaciones}) {
    ASSERT_EQ(lista->size(), 1);
    EXPECT_TRUE(lista->front().isEmpty());
  }
}

}  // namespace
}  // namespace tarquelas
