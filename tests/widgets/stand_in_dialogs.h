// A platform for the common dialog that records the file request it was
// handed and answers every dialog with result; on 1 a file dialog gives
// back chosen under filterIndex.
#pragma once

#include "widgets/ovra_common_dialog.h"

namespace tarquelas::testing {

class StandInDialogs final : public CommonDialogPlatform {
 public:
  qint32 result = 0, extended = 0, filterIndex = 1;
  QString chosen;
  OpenFileRecord handed;
  bool handedSave = false;

  qint32 getOpenFileName(OpenFileRecord& r) override { return file(r, false); }
  qint32 getSaveFileName(OpenFileRecord& r) override { return file(r, true); }
  qint32 chooseColor(ColorRecord&) override { return result; }
  qint32 chooseFont(FontRecord&) override { return result; }
  qint32 printDlg(PrintRecord&) override { return result; }
  qint32 winHelp(quintptr, const QString&, qint32, qint32) override { return result; }
  qint32 extendedError() override { return extended; }

 private:
  qint32 file(OpenFileRecord& r, bool save) {
    handed = r;
    handedSave = save;
    if (result == 1) {
      const QString title = chosen.section(QLatin1Char('/'), -1);
      r.file.replace(0, chosen.size() + 1, chosen + QChar(0));
      r.fileTitle.replace(0, title.size() + 1, title + QChar(0));
      r.filterIndex = filterIndex;
    }
    return result;
  }
};

}  // namespace tarquelas::testing
