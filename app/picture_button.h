// A push button whose 16 x 16 picture sits above its caption, as the
// window's "&Procesar" and "&Salir" show them: beside the caption the two
// would not fit the button's width.
#pragma once

#include <QPushButton>

namespace tarquelas {

class PictureButton : public QPushButton {
  Q_OBJECT
 public:
  PictureButton(const QIcon& picture, const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarquelas
