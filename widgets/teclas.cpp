#include "widgets/teclas.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

#include "support/cp1252.h"

namespace tarquelas {

namespace {

constexpr int kEnter = 13;
constexpr int kFirstUpperCased = 97;  // 'a'
constexpr int kLastUpperCased = 123;  // '{' becomes '[' as well
constexpr int kCaseDistance = 32;
constexpr int kEnieMinuscula = 241;
constexpr int kEnieMayuscula = 209;

int aMayuscula(int code) {
  if (code >= kFirstUpperCased && code <= kLastUpperCased) return code - kCaseDistance;
  if (code == kEnieMinuscula) return kEnieMayuscula;
  return code;
}

// The Windows-1252 code of a key event's text, or -1 when the event is not
// one typed character the code page holds.
int codeOf(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() != 1) return -1;
  return cp1252ByteFor(text.at(0).unicode());
}

bool isEnterKey(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

int procesarTeclaPresionada(int keyAscii, bool convertirMayusculas, QWidget* window) {
  if (keyAscii == kEnter) {
    enviarTab(window);
    return 0;
  }
  return convertirMayusculas ? aMayuscula(keyAscii) : keyAscii;
}

void enviarTab(QWidget* window) {
  if (window == nullptr) return;
  // A Tab delivered to the window moves its focus to the next control in
  // tab order, whichever control has it now. Posted, so the move happens
  // after the character being handled.
  QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
  QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier));
}

PrevisualizacionTeclas::PrevisualizacionTeclas(QWidget* window, bool convertirMayusculas)
    : QObject(window), window_(window), convertirMayusculas_(convertirMayusculas) {
  window->installEventFilter(this);
  for (QWidget* control : window->findChildren<QWidget*>()) control->installEventFilter(this);
}

bool PrevisualizacionTeclas::enterIsForDefaultButton() const {
  if (qobject_cast<QDialog*>(window_) == nullptr) return false;
  if (qobject_cast<QPushButton*>(QApplication::focusWidget()) != nullptr) return true;
  const auto buttons = window_->findChildren<QPushButton*>();
  return std::any_of(buttons.begin(), buttons.end(),
                     [](const QPushButton* b) { return b->isDefault() && b->isVisible() && b->isEnabled(); });
}

bool PrevisualizacionTeclas::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (isEnterKey(*key) && enterIsForDefaultButton()) return false;
  const int code = isEnterKey(*key) ? kEnter : codeOf(*key);
  if (code < 0) return false;
  const int result = procesarTeclaPresionada(code, convertirMayusculas_, window_);
  if (result == code) return false;
  if (result == 0) return true;
  const QString replacement = fromCp1252(QByteArray(1, char(result)));
  const int qtKey = replacement.at(0).toUpper().unicode();
  QKeyEvent typed(QEvent::KeyPress, qtKey, key->modifiers(), replacement, key->isAutoRepeat());
  QCoreApplication::sendEvent(watched, &typed);
  return true;
}

}  // namespace tarquelas
