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

  explicit Form(bool upper) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    new PrevisualizacionTeclas(&window, upper);
    window.show();
    window.activateWindow();
    first->setFocus();
  }
};

class TeclasTest : public QObject {
  Q_OBJECT
 private slots:
  void codesPassAsTheSwitchSays() {
    const int cases[][3] = {
        {'a', true, 'A'},  {'z', true, 'Z'},  {'{', true, '['},  {'|', true, '|'},
        {241, true, 209},  {225, true, 225},  {'A', true, 'A'},  {'0', true, '0'},
        {'a', false, 'a'}, {241, false, 241}, {'{', false, '{'},
    };
    for (const auto& [code, upper, expected] : cases)
      QCOMPARE(procesarTeclaPresionada(code, upper, nullptr), expected);
  }

  // Typed into a form, letters follow the switch; Enter is swallowed and
  // moves the focus on.
  void typedKeysFollowTheSwitch() {
    for (bool upper : {true, false}) {
      Form form(upper);
      QVERIFY(QTest::qWaitForWindowActive(&form.window));
      for (QChar ch : QStringLiteral("/ana/Pagos{ñá"))
        QTest::sendKeyEvent(QTest::Click, form.first, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
      QCOMPARE(form.first->text(), upper ? QStringLiteral("/ANA/PAGOS[Ñá") : QStringLiteral("/ana/Pagos{ñá"));
      QTest::keyClick(form.first, Qt::Key_Return);
      QTRY_VERIFY(form.second->hasFocus());
      QCOMPARE(procesarTeclaPresionada(13, upper, &form.window), 0);
      QTRY_VERIFY(form.first->hasFocus());
    }
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::TeclasTest)
#include "teclas_test.moc"
