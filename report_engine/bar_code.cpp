#include "report_engine/bar_code.h"

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tarquelas::report {

namespace {

struct SymbolDeleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using SymbolPtr = std::unique_ptr<zint_symbol, SymbolDeleter>;

// The characters the symbol carries, or nothing when value cannot be
// encoded.
QByteArray symbolData(Symbology symbology, const QString& value) {
  QByteArray data = value.toLatin1();
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const auto printable = [](char c) { return c >= 32 && c < 127; };
  if (data.isEmpty() || !std::all_of(data.begin(), data.end(), printable)) return {};
  if (symbology == Symbology::Interleaved2of5) {
    if (!std::all_of(data.begin(), data.end(), digit)) return {};
    if (data.size() % 2 != 0) data.prepend('0');
  }
  return data;
}

int zintSymbology(Symbology symbology) {
  switch (symbology) {
    case Symbology::Code128: break;
    case Symbology::Interleaved2of5: return BARCODE_C25INTER;
  }
  return BARCODE_CODE128;
}

// The widest module that leaves the quiet zones inside width, in whole
// device units when one fits.
double moduleWidthFor(double width, int modules, double deviceUnit) {
  const double fit = width / (modules + 2 * kQuietModules);
  if (deviceUnit <= 0 || fit < deviceUnit) return fit;
  return std::floor(fit / deviceUnit + 1e-9) * deviceUnit;
}

}  // namespace

BarCodeBars barCodeBars(Symbology symbology, const QString& value, const QRectF& box, double deviceUnit) {
  const QByteArray data = symbolData(symbology, value);
  if (data.isEmpty()) return {};
  SymbolPtr symbol(ZBarcode_Create());
  if (!symbol) return {};
  symbol->symbology = zintSymbology(symbology);
  symbol->show_hrt = 0;
  symbol->output_options = BARCODE_NO_QUIET_ZONES;
  const int rc = ZBarcode_Encode_and_Buffer_Vector(symbol.get(),
                                                   reinterpret_cast<const unsigned char*>(data.constData()),
                                                   static_cast<int>(data.size()), 0);
  if (rc >= ZINT_ERROR || !symbol->vector || symbol->vector->width <= 0 || symbol->width <= 0) return {};

  BarCodeBars out;
  out.modules = symbol->width;
  out.moduleWidth = moduleWidthFor(box.width(), symbol->width, deviceUnit);
  // Centred, on the device's grid where the module is whole units.
  const double slack = box.width() - symbol->width * out.moduleWidth;
  double left = box.left() + slack / 2;
  if (deviceUnit > 0 && out.moduleWidth >= deviceUnit &&
      slack - 2 * kQuietModules * out.moduleWidth >= deviceUnit)
    left = std::round(left / deviceUnit) * deviceUnit;
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
