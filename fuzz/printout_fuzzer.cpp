// The registry printout end to end: an auxiliary file, the consortium and the worker template
// (an empty part is a missing one) loaded by cargarPadron and written by GenerarHTMLFinal.
#include "fuzz/printout_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QList<QByteArrayView> parts = tarquelas::fuzz::splitInput(tarquelas::fuzz::bytesOf(data, size), 3);
  tarquelas::fuzz::checkPrintout(parts[0], parts[1], parts[2]);
  return 0;
}
