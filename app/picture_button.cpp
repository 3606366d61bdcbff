#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tarquelas {

namespace {
constexpr int kPictureSize = 16;
constexpr int kGap = 1;
}  // namespace

PictureButton::PictureButton(const QIcon& picture, const QString& caption, QWidget* parent)
    : QPushButton(picture, caption, parent) {
  setIconSize(QSize(kPictureSize, kPictureSize));
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton bevel;
  initStyleOption(&bevel);
  bevel.text.clear();
  bevel.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButton, bevel);

  const int textHeight = fontMetrics().height();
  const int top = (height() - kPictureSize - kGap - textHeight) / 2;
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  icon().paint(&painter, QRect((width() - kPictureSize) / 2, top, kPictureSize, kPictureSize),
               Qt::AlignCenter, mode);
  const QRect caption(0, top + kPictureSize + kGap, width(), textHeight);
  style()->drawItemText(&painter, caption, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                        isEnabled(), text(), QPalette::ButtonText);
}

}  // namespace tarquelas
