// Batch mode: recognition and the same processing run as the window, with
// no window and no viewer. Messages go to standard error, the error prompt
// is answered No, and the vouchers are written to a PDF file.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tarquelas {

struct BatchOptions {
  QString presentationPath;
  QString directory;  // the App directory; empty for appDirectory()
  QString pdf;        // empty for Tarquelas.pdf in the App directory
  bool trabajadores = false;
  QString printQueue;  // the vouchers go to this print queue instead of the PDF
  QStringList cuits;   // only these consortia's vouchers (11 digits each); empty for all
  QString symbology;   // the bar code's ("code128", "i2of5"); empty for the settings file's
};

// Exit statuses of batch mode.
inline constexpr int kExitProcessed = 0;
inline constexpr int kExitRejected = 1;
inline constexpr int kExitFailure = 2;

// Runs one file. A C.U.I.T. of options.cuits without vouchers in it writes
// and prints nothing and is kRejected. Prints its summary on out; messages, the error prompts and
// a rejected file's error list on err. Needs a QGuiApplication (the PDF).
int runBatch(const BatchOptions& options, QTextStream& out, QTextStream& err);

}  // namespace tarquelas
