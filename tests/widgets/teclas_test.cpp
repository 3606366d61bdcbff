// Keyboard handling: upper-casing on and off, Enter moving on like Tab. (Enter
// in a dialog with a default button is the main window's test.)
#include "widgets/teclas.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

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

class TeclasTest : public QObject {
  Q_OBJECT
 private slots:
  void codesPassAsTheSwitchSays() {
    struct Case {
      int code;
      bool upper;
      int expected;
    } cases[] = {
        {'a', true, 'A'},  {'z', true, 'Z'},  {'{', true, '['},  {'|', true, '|'},
        {241, true, 209},  {225, true, 225},  {'A', true, 'A'},  {'0', true, '0'},
        {'a', false, 'a'}, {241, false, 241}, {'{', false, '{'},
    };
    for (const Case& c : cases) QCOMPARE(procesarTeclaPresionada(c.code, c.upper, nullptr), c.expected);
  }

  void typedLettersFollowTheSwitch() {
    struct Case {
      bool upper;
      QString typed, shown;
    } cases[] = {
        {true, QStringLiteral("abc{ñá"), QStringLiteral("ABC[Ñá")},
        {false, QStringLiteral("/home/ana/Pagos.txt{ñá"), QStringLiteral("/home/ana/Pagos.txt{ñá")},
    };
    for (const Case& c : cases) {
      Form form;
      new PrevisualizacionTeclas(&form.window, c.upper);
      for (QChar ch : c.typed)
        QTest::sendKeyEvent(QTest::Click, form.first, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
      QCOMPARE(form.first->text(), c.shown);
    }
  }

  void enterIsSwallowedAndMovesTheFocusOn() {
    for (bool upper : {true, false}) {
      Form form;
      QVERIFY(QTest::qWaitForWindowActive(&form.window));
      QCOMPARE(procesarTeclaPresionada(13, upper, &form.window), 0);
      QTRY_VERIFY(form.second->hasFocus());
    }
    Form form;  // typed Enter in a form without a default button
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    new PrevisualizacionTeclas(&form.window, false);
    QTest::keyClick(form.first, Qt::Key_Return);
    QTRY_VERIFY(form.second->hasFocus());
    QCOMPARE(form.first->text(), QString());
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::TeclasTest)
#include "teclas_test.moc"
