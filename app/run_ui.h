// What the processing run asks of the person using the program. The window
// answers with dialogs and the desktop viewer; batch mode with standard
// output and error; tests record the requests.
#pragma once

#include <QString>
#include <functional>

#include "support/progress.h"
#include "support/status.h"

namespace tarquelas {

class RunUi {
 public:
  virtual ~RunUi() = default;

  // A message box with an OK button and no icon. Pieces of text are
  // separated by CR (character 13).
  virtual void showMessage(const QString& text) = 0;
  // The error prompt ("Se ha detectado el siguiente error:" ... "¿Desea
  // continuar?"), critical icon, Yes/No. True means Yes.
  virtual bool askContinue(const QString& description) = 0;
  // Opens path in the desktop's default viewer without waiting. False when
  // no viewer could be started.
  virtual bool openInViewer(const QString& path) = 0;
  // Shows the voucher report of the auxiliary file; returns when the user
  // is done with it (modal preview), or after writing the PDF in batch mode.
  // A report that cannot be laid out or written comes back as an error,
  // which the run puts to the user; a cancel while laying it out as
  // cancelled.
  [[nodiscard]] virtual Status showVoucherReport(const QString& auxPath) = 0;
  // The file showVoucherReport writes the vouchers to (batch mode's PDF);
  // empty where they are only shown.
  virtual QString voucherOutput() const { return {}; }
  // Where long work reports progress and learns about a cancel.
  virtual Progress& progress() = 0;
  // The busy pointer for the length of a run.
  virtual void setBusy(bool busy) = 0;
  // Another program's run uses the App directory: waits, telling the
  // person so, until tryAgain() returns true (and then returns true), or
  // until the person gives up (false).
  virtual bool waitForWorkFolder(const std::function<bool()>& tryAgain) = 0;
};

// What the person is told while a run waits for the App directory.
QString waitingMessage();

// The text of the error prompt for a failure's description.
QString errorPromptText(const QString& description);

// A message box's text (its pieces separated by CR, or CR LF) as lines,
// one piece each, for a terminal or a dialog.
QString asLines(QString text);

}  // namespace tarquelas
