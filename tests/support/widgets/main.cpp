// Runs every test class of the widget half of the support library.
#include <QApplication>
#include <QTest>

#include "tests_list.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  for (auto& make : tarquelas::testing::widgetTestClasses()) {
    auto test = make();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
