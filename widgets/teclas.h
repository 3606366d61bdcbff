// Teclas: uniform treatment of typed characters. Enter moves on to the next
// control as Tab does and, when asked, letters become capitals as they are
// typed. A window sees every typed character first through key preview.
#pragma once

#include <QObject>

class QWidget;

namespace tarquelas {

// Handles one typed character, keyAscii being its Windows-1252 code
// (0-255). Returns the code that goes on to the control: the same, a
// replacement, or 0 when the character is swallowed. Enter (13) moves the
// focus of window to the next control and is swallowed; with
// convertirMayusculas on, 97-123 become 32 less and ñ (241) becomes Ñ (209).
[[nodiscard]] int procesarTeclaPresionada(int keyAscii, bool convertirMayusculas, QWidget* window);

// Moves the focus of window to the next control in tab order, as a typed
// Tab would, once the event being handled is done.
void enviarTab(QWidget* window);

// Key preview: every character typed into a control of window passes
// through procesarTeclaPresionada before the control sees it. Enter is left
// to a dialog's default button, which takes it first. Owned by window.
class PrevisualizacionTeclas : public QObject {
  Q_OBJECT
 public:
  // Watches window and every control it holds now.
  PrevisualizacionTeclas(QWidget* window, bool convertirMayusculas);

  bool convertirMayusculas() const { return convertirMayusculas_; }
  void setConvertirMayusculas(bool on) { convertirMayusculas_ = on; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool enterIsForDefaultButton() const;

  QWidget* window_;
  bool convertirMayusculas_;
};

}  // namespace tarquelas
