// Progress: how long work reports how far it is and learns whether the user
// cancelled. The core calls report() now and then (not per line); the window
// shows a dialog for long runs, batch mode and tests use noProgress().
#pragma once

#include <QtGlobal>

namespace tarquelas {

class Progress {
 public:
  // LayingOutVouchers counts vouchers found while the report's index of the
  // auxiliary file is made; PrintingPages and WritingPdf count pages.
  enum class Stage { Validating, LayingOutVouchers, WritingPrintout, PrintingPages, WritingPdf };

  virtual ~Progress() = default;
  // done and total are in the stage's own unit (bytes read, vouchers laid
  // out, consortia written); total may be 0 when unknown. Returns false when
  // the user asked to cancel: the caller then stops and returns
  // Status::cancelled().
  virtual bool report(Stage stage, qint64 done, qint64 total) = 0;
};

// A Progress that ignores reports and never cancels.
Progress& noProgress();

}  // namespace tarquelas
