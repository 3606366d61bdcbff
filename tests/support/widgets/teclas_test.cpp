// Keyboard handling: upper-casing on and off, Enter moving on like Tab.
#include "support/widgets/teclas.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "tests_list.h"

namespace tarquelas {
namespace {

// A small form: two text boxes one after the other in tab order.
struct Form {
  QWidget window;
  QLineEdit* first = new QLineEdit(&window);
  QLineEdit* second = new QLineEdit(&window);

  Form() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    first->setFocus();
  }
};

// Types text character by character, accented letters included.
void type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
  }
}

class TeclasTest : public QObject {
  Q_OBJECT
 private slots:
  void codesPassAsTheSwitchSays_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("expected");
    QTest::newRow("a upper-cased") << 97 << true << 65;
    QTest::newRow("z upper-cased") << 122 << true << 90;
    QTest::newRow("opening brace becomes bracket") << 123 << true << 91;
    QTest::newRow("vertical bar unchanged") << 124 << true << 124;
    QTest::newRow("enie upper-cased") << 241 << true << 209;
    QTest::newRow("a acute unchanged") << 225 << true << 225;
    QTest::newRow("capital unchanged") << 65 << true << 65;
    QTest::newRow("digit unchanged") << 48 << true << 48;
    QTest::newRow("a kept when off") << 97 << false << 97;
    QTest::newRow("enie kept when off") << 241 << false << 241;
    QTest::newRow("brace kept when off") << 123 << false << 123;
  }
  void codesPassAsTheSwitchSays() {
    QFETCH(int, code);
    QFETCH(bool, upper);
    QFETCH(int, expected);
    QCOMPARE(procesarTeclaPresionada(code, upper, nullptr), expected);
  }

  void enterIsSwallowedAndMovesTheFocusOn() {
    for (bool upper : {true, false}) {
      Form form;
      QVERIFY(QTest::qWaitForWindowActive(&form.window));
      QCOMPARE(procesarTeclaPresionada(13, upper, &form.window), 0);
      QTRY_VERIFY(form.second->hasFocus());
    }
  }

  void typedLettersBecomeCapitalsWhenAsked() {
    Form form;
    new PrevisualizacionTeclas(&form.window, true);
    type(form.first, QStringLiteral("abc{ñá"));
    QCOMPARE(form.first->text(), QStringLiteral("ABC[Ñá"));
  }

  void typedLettersKeepTheirCaseWhenNotAsked() {
    Form form;
    new PrevisualizacionTeclas(&form.window, false);
    type(form.first, QStringLiteral("/home/ana/Pagos.txt{ñá"));
    QCOMPARE(form.first->text(), QStringLiteral("/home/ana/Pagos.txt{ñá"));
  }

  void enterInAFormWithoutDefaultButtonActsAsTab() {
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    new PrevisualizacionTeclas(&form.window, false);
    QTest::keyClick(form.first, Qt::Key_Return);
    QTRY_VERIFY(form.second->hasFocus());
    QCOMPARE(form.first->text(), QString());
  }

  void enterInADialogIsLeftToTheDefaultButton() {
    QDialog dialog;
    auto* box = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    layout->addWidget(ok);
    ok->setDefault(true);
    int clicks = 0;
    connect(ok, &QPushButton::clicked, [&clicks] { ++clicks; });
    new PrevisualizacionTeclas(&dialog, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(clicks, 1);
  }
};

testing::RegisterTestClass<TeclasTest> registered;

}  // namespace
}  // namespace tarquelas

#include "teclas_test.moc"
