// Answers the modal dialogs a window opens, so tests never wait for a
// person: records each message box (text, icon, buttons, whether the main
// window was on screen yet) and each print preview, then closes it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>

namespace tarquelas::testing {

class ModalAnswerer : public QObject {
 public:
  struct Seen {
    QString kind;  // "message" or "preview"
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool windowVisible = false;
    int pages = 0;
  };

  explicit ModalAnswerer(const QWidget* window) : window_(window) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
  }

  QList<Seen> seen;
  // Answers to Yes/No boxes, in order; No when none is left.
  QList<QMessageBox::StandardButton> answers;

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == current_) return;
    current_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) return answer(*box);
    if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) return close(*preview);
  }

  void answer(QMessageBox& box) {
    Seen s{QStringLiteral("message"), box.windowTitle(),    box.text(), box.icon(),
           box.standardButtons(),     window_->isVisible(), 0};
    seen.append(s);
    QMessageBox::StandardButton button = QMessageBox::Ok;
    if (box.standardButtons() & QMessageBox::Yes)
      button = answers.isEmpty() ? QMessageBox::No : answers.takeFirst();
    box.button(button)->click();
  }

  void close(QPrintPreviewDialog& preview) {
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (pages != nullptr) pages->updatePreview();
    Seen s{QStringLiteral("preview"),
           preview.windowTitle(),
           {},
           QMessageBox::NoIcon,
           {},
           window_->isVisible(),
           pages != nullptr ? pages->pageCount() : -1};
    seen.append(s);
    preview.reject();
  }

  const QWidget* window_;
  QPointer<QWidget> current_;
  QTimer timer_;
};

}  // namespace tarquelas::testing
