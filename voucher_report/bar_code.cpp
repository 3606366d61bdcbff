#include "voucher_report/bar_code.h"

#include <zint.h>

#include <cmath>
#include <memory>

namespace tarquelas::report {

namespace {

struct SymbolDeleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using SymbolPtr = std::unique_ptr<zint_symbol, SymbolDeleter>;

bool encodable(Symbology symbology, const QByteArray& data) {
  if (data.isEmpty()) return false;
  for (char c : data) {
    const bool ok = symbology == Symbology::Interleaved2of5 ? (c >= '0' && c <= '9') : (c >= 32 && c < 127);
    if (!ok) return false;
  }
  return true;
}

int zintSymbology(Symbology symbology) {
  return symbology == Symbology::Interleaved2of5 ? BARCODE_C25INTER : BARCODE_CODE128;
}

}  // namespace

BarCodeBars barCodeBars(Symbology symbology, const QString& value, const QRectF& box) {
  const QByteArray data = value.toLatin1();
  if (!encodable(symbology, data)) return {};
  SymbolPtr symbol(ZBarcode_Create());
  if (!symbol) return {};
  symbol->symbology = zintSymbology(symbology);
  symbol->show_hrt = 0;
  symbol->option_2 = 0;  // Interleaved 2 of 5: no check digit
  symbol->output_options = BARCODE_NO_QUIET_ZONES;
  const int rc = ZBarcode_Encode_and_Buffer_Vector(symbol.get(),
                                                   reinterpret_cast<const unsigned char*>(data.constData()),
                                                   static_cast<int>(data.size()), 0);
  if (rc >= ZINT_ERROR || !symbol->vector || symbol->vector->width <= 0 || symbol->width <= 0) return {};

  BarCodeBars out;
  // Whole units for the narrow bar where the box allows one or more: bars
  // then sit on the device's grid (and a PDF writes short numbers). The
  // symbol is centred, so the quiet zones are at least kQuietModules wide.
  const double fit = box.width() / (symbol->width + 2 * kQuietModules);
  out.moduleWidth = fit >= 1.0 ? std::floor(fit) : fit;
  const double left = std::round(box.left() + (box.width() - symbol->width * out.moduleWidth) / 2);
  const double xScale = symbol->width * out.moduleWidth / symbol->vector->width;
  const double yScale = box.height() / symbol->vector->height;
  for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next) {
    if (r->colour > 0 && r->colour != 7) continue;  // background-coloured pieces
    out.bars.emplace_back(left + r->x * xScale, box.top() + r->y * yScale, r->width * xScale,
                          r->height * yScale);
  }
  return out;
}

}  // namespace tarquelas::report
