// The progress dialog of long work in the window: shown once the work has
// lasted half a second, it keeps the window painted meanwhile and learns
// about Cancel. Titled with the program's own title.
#pragma once

#include <QApplication>
#include <QProgressDialog>
#include <QString>
#include <memory>

#include "support/progress.h"

class QWidget;

namespace tarquelas {

// The program's own title, in every message box and window.
inline constexpr char16_t kProgramTitle[] = u"Tarquelas";

// The busy pointer over the whole application for the length of a scope.
struct BusyPointer {
  BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

class DialogProgress final : public Progress {
 public:
  explicit DialogProgress(QWidget* parent) : parent_(parent) {}
  ~DialogProgress() override;
  bool report(Stage stage, qint64 done, qint64 total) override;
  // Closes the dialog; the next report opens a new one.
  void finish();

  static QString stageText(Stage stage);

 private:
  QWidget* parent_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace tarquelas
