// Answers the modal dialogs a window opens, so tests never wait for a
// person: records each message box, print preview and wait for the App
// directory (and whether the main window was on screen yet), then closes it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "widgets/preview_pages.h"
#include "widgets/voucher_preview.h"

namespace tarquelas::testing {

class ModalAnswerer : public QObject {
 public:
  struct Seen {
    QString title, text;  // a preview's text is "preview"
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool windowVisible = false;
    int pages = 0;
  };
  QList<Seen> seen;

  explicit ModalAnswerer(const QWidget* window) : window_(window) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
  }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == current_) return;
    current_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.append(
          {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), window_->isVisible()});
      box->button(box->standardButtons() & QMessageBox::Yes ? QMessageBox::No : QMessageBox::Ok)->click();
    } else if (auto* wait = qobject_cast<QProgressDialog*>(modal);
               wait != nullptr && wait->objectName() == QStringLiteral("esperaCarpeta")) {
      seen.append({wait->windowTitle(), wait->labelText(), QMessageBox::NoIcon, {}, window_->isVisible()});
      wait->findChild<QPushButton*>()->click();  // "Cancelar": gives up waiting for the App directory
    } else if (auto* preview = qobject_cast<VoucherPreview*>(modal)) {
      seen.append({preview->windowTitle(),
                   QStringLiteral("preview"),
                   QMessageBox::NoIcon,
                   {},
                   window_->isVisible(),
                   preview->pages().pageCount()});
      preview->reject();
    }
  }

  const QWidget* window_;
  QPointer<QWidget> current_;
  QTimer timer_;
};

}  // namespace tarquelas::testing
