#include "pdf/pdf_writer.h"

#include <QGlyphRun>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>
#include <QTextItem>
#include <climits>
#include <cmath>
#include <optional>

#include "pdf/pdf_file.h"

namespace tarquelas::report {

namespace {

// What the engine draws itself; QPainter renders anything else (gradients,
// translucent colours) to a picture first.
constexpr QPaintEngine::PaintEngineFeatures kFeatures =
    QPaintEngine::PrimitiveTransform | QPaintEngine::PixmapTransform | QPaintEngine::PainterPaths |
    QPaintEngine::PaintOutsidePaintEvent | QPaintEngine::Antialiasing;

int capCode(Qt::PenCapStyle cap) { return cap == Qt::RoundCap ? 1 : cap == Qt::SquareCap ? 2 : 0; }
int joinCode(Qt::PenJoinStyle join) { return join == Qt::RoundJoin ? 1 : join == Qt::BevelJoin ? 2 : 0; }

// The stroke and fill settings a content stream holds at some point; the
// engine writes only those that change.
struct GraphicsState {
  QTransform matrix;  // after the page's own mapping
  qreal lineWidth = 1;
  int cap = 0;
  int join = 0;
  qreal miterLimit = 10;
  QList<qreal> dashes;
  QColor stroke = Qt::black;
  QColor fill = Qt::black;
};

}  // namespace

class PdfWriter::Engine final : public QPaintEngine {
 public:
  explicit Engine(QIODevice* device) : QPaintEngine(kFeatures), device_(device) {}

  void setMetadata(const PdfMetadata& metadata) { metadata_ = metadata; }
  PdfFile* file() const { return file_.get(); }
  // The paper and resolution of the pages begun from now on.
  void setPage(QSizeF points, int dpi) {
    pagePoints_ = points;
    dpi_ = dpi;
  }

  bool begin(QPaintDevice*) override {
    if (file_ || !device_ || !device_->isWritable()) return false;
    file_ = std::make_unique<PdfFile>(*device_);
    file_->setMetadata(metadata_);
    startPage();
    return !file_->failed();
  }

  bool end() override {
    endPage();
    return file_->finish() && unembeddable_.isEmpty();
  }

  bool newPage() {
    if (!isActive()) return true;
    endPage();
    startPage();
    return !file_->failed() && unembeddable_.isEmpty();
  }

  Type type() const override { return QPaintEngine::User; }

  void updateState(const QPaintEngineState& state) override {
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyPen) pen_ = state.pen();
    if (dirty & DirtyBrush) brush_ = state.brush();
    if (dirty & DirtyTransform) transform_ = state.transform();
  }

  void drawRects(const QRectF* rects, int count) override {
    const char* op = paintOperator(false, true);
    if (!op) return;
    PdfContent& c = file_->content();
    for (int i = 0; i < count; ++i)
      c << rects[i].x() << rects[i].y() << rects[i].width() << rects[i].height() << "re\n";
    c << op;
  }

  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      const QRectF r(rects[i]);
      drawRects(&r, 1);
    }
  }

  void drawLines(const QLineF* lines, int count) override {
    const char* op = paintOperator(false, false);
    if (!op) return;
    PdfContent& c = file_->content();
    for (int i = 0; i < count; ++i)
      c << lines[i].x1() << lines[i].y1() << "m " << lines[i].x2() << lines[i].y2() << "l\n";
    c << op;
  }

  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      const QLineF l(lines[i]);
      drawLines(&l, 1);
    }
  }

  void drawPath(const QPainterPath& path) override {
    const char* op = paintOperator(path.fillRule() == Qt::OddEvenFill, true);
    if (!op) return;
    writePath(path);
    file_->content() << op;
  }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count < 2) return;
    const char* op = paintOperator(mode == OddEvenMode, mode != PolylineMode);
    if (!op) return;
    PdfContent& c = file_->content();
    c << points[0].x() << points[0].y() << "m\n";
    for (int i = 1; i < count; ++i) c << points[i].x() << points[i].y() << "l\n";
    if (mode != PolylineMode) c << "h\n";
    c << op;
  }

  void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
    drawPicture(target, pixmap.toImage(), source, std::nullopt);
  }

  void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags) override {
    drawPicture(target, image, source, image.cacheKey());
  }

  // Text drawn with QPainter::drawText, set anew with its font's glyphs.
  void drawTextItem(const QPointF& at, const QTextItem& item) override {
    const QString text = item.text();
    if (text.isEmpty()) return;  // a glyph run: see PdfWriter::drawGlyphRun
    const QRawFont font = QRawFont::fromFont(item.font());
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    QPointF pen = at;
    for (const QPointF& advance : advances) {
      positions.append(pen);
      pen += advance;
    }
    drawGlyphs(font, glyphs, positions, pen_.color(), transform_);
  }

  void drawGlyphs(const QRawFont& font, const QList<quint32>& glyphs, const QList<QPointF>& positions,
                  const QColor& color, const QTransform& transform) {
    const qsizetype count = std::min(glyphs.size(), positions.size());
    useMatrix(transform);
    useFill(color);
    if (file_->showGlyphs(font, glyphs.constData(), positions.constData(), count)) return;
    // Glyphs drawn as shapes would not be text any more: the file fails
    // instead.
    if (unembeddable_.isEmpty())
      unembeddable_ = QString(font.familyName() + u' ' + font.styleName()).trimmed();
  }

  const QString& unembeddableFont() const { return unembeddable_; }

 private:
  // A page's content leaves no graphics state open: a reader would have to
  // repair it.
  void endPage() {
    if (saved_) file_->content() << "Q\n";
    saved_.reset();
    file_->endPage();
  }

  void startPage() {
    state_ = GraphicsState();
    saved_.reset();
    file_->setPageSize(pagePoints_);
    const double scale = 72.0 / dpi_;
    file_->content().appendMatrix(scale, 0, 0, -scale, 0, pagePoints_.height());
  }

  // Brings the content's user space to transform: a change of transform
  // closes the last one's saved state and opens a new one.
  void useMatrix(const QTransform& transform) {
    if (transform == state_.matrix) return;
    PdfContent& c = file_->content();
    if (saved_) {
      c << "Q ";
      state_ = *saved_;
    }
    c << "q\n";
    saved_ = state_;
    if (!transform.isIdentity())
      c.appendMatrix(transform.m11(), transform.m12(), transform.m21(), transform.m22(), transform.dx(),
                     transform.dy());
    state_.matrix = transform;
  }

  void useFill(const QColor& color) {
    if (state_.fill == color) return;
    file_->content().appendColor(color, false);
    state_.fill = color;
  }

  void useStroke() {
    PdfContent& c = file_->content();
    // A cosmetic pen's width is in device pixels, whatever the transform.
    const qreal scale = std::sqrt(std::abs(state_.matrix.determinant()));
    const qreal width = pen_.isCosmetic() && scale > 0 ? pen_.widthF() / scale : pen_.widthF();
    if (width != state_.lineWidth) c << (state_.lineWidth = width) << "w\n";
    if (capCode(pen_.capStyle()) != state_.cap) c << (state_.cap = capCode(pen_.capStyle())) << "J\n";
    if (joinCode(pen_.joinStyle()) != state_.join) c << (state_.join = joinCode(pen_.joinStyle())) << "j\n";
    if (pen_.joinStyle() == Qt::MiterJoin && pen_.miterLimit() != state_.miterLimit)
      c << (state_.miterLimit = pen_.miterLimit()) << "M\n";
    const QList<qreal> dashes = pen_.style() == Qt::SolidLine ? QList<qreal>() : pen_.dashPattern();
    if (dashes != state_.dashes) {
      c << "[";
      for (qreal d : dashes) c << d * std::max<qreal>(width, 1);
      c << "]0 d\n";
      state_.dashes = dashes;
    }
    if (state_.stroke != pen_.color()) {
      c.appendColor(pen_.color(), true);
      state_.stroke = pen_.color();
    }
  }

  // Sets up the current pen and brush and gives the operator that paints a
  // path with them; null when they paint nothing.
  const char* paintOperator(bool oddEven, bool fillable) {
    const bool fill = fillable && brush_.style() != Qt::NoBrush;
    const bool stroke = pen_.style() != Qt::NoPen;
    if (!fill && !stroke) return nullptr;
    useMatrix(transform_);
    if (fill) useFill(brush_.color());
    if (stroke) useStroke();
    if (fill && stroke) return oddEven ? "B*\n" : "B\n";
    if (fill) return oddEven ? "f*\n" : "f\n";
    return "S\n";
  }

  void writePath(const QPainterPath& path) {
    PdfContent& c = file_->content();
    const int count = path.elementCount();
    QPointF start, last;
    bool open = false;
    // A subpath that ends where it began is closed, so that a pen joins its
    // ends instead of capping them.
    const auto closeIfBack = [&] {
      if (open && last == start) c << "h\n";
      open = false;
    };
    for (int i = 0; i < count; ++i) {
      const QPainterPath::Element& e = path.elementAt(i);
      if (e.isMoveTo()) {
        closeIfBack();
        if (writtenAsRectangle(path, i)) {
          i += 4;
          continue;
        }
        c << e.x << e.y << "m\n";
        start = last = QPointF(e.x, e.y);
        open = true;
      } else if (e.isLineTo()) {
        c << e.x << e.y << "l\n";
        last = QPointF(e.x, e.y);
      } else if (e.isCurveTo() && i + 2 < count) {
        const QPainterPath::Element& a = path.elementAt(i + 1);
        const QPainterPath::Element& b = path.elementAt(i + 2);
        c << e.x << e.y << a.x << a.y << b.x << b.y << "c\n";
        last = QPointF(b.x, b.y);
        i += 2;
      }
    }
    closeIfBack();
  }

  // A subpath that is an upright rectangle, as QPainterPath::addRect makes
  // it, written as one: the bars of a bar code, for instance.
  bool writtenAsRectangle(const QPainterPath& path, int start) {
    if (start + 4 >= path.elementCount()) return false;
    if (start + 5 < path.elementCount() && !path.elementAt(start + 5).isMoveTo()) return false;
    const QPainterPath::Element p0 = path.elementAt(start);
    QPainterPath::Element p[4];
    for (int k = 0; k < 4; ++k) {
      p[k] = path.elementAt(start + 1 + k);
      if (!p[k].isLineTo()) return false;
    }
    const bool upright = p[0].y == p0.y && p[1].x == p[0].x && p[2].y == p[1].y && p[2].x == p0.x &&
                         p[3].x == p0.x && p[3].y == p0.y;
    if (!upright) return false;
    file_->content() << p0.x << p0.y << p[0].x - p0.x << p[1].y - p0.y << "re\n";
    return true;
  }

  void drawPicture(const QRectF& target, const QImage& image, const QRectF& source,
                   std::optional<qint64> key) {
    if (image.isNull() || target.isEmpty()) return;
    const QRect whole = image.rect();
    const QRect part = source.toAlignedRect().intersected(whole);
    if (part.isEmpty()) return;
    const QImage drawn = part == whole ? image : image.copy(part);
    const QByteArray name = file_->imageName(drawn, part == whole && key ? *key : drawn.cacheKey());
    useMatrix(transform_);
    file_->content() << "q " << target.width() << 0 << 0 << -target.height() << target.x() << target.bottom()
                     << "cm " << name << " Do Q\n";
  }

  QIODevice* device_;
  std::unique_ptr<PdfFile> file_;
  PdfMetadata metadata_;
  QSizeF pagePoints_{595, 842};
  int dpi_ = 1200;
  QPen pen_;
  QBrush brush_;
  QTransform transform_;
  GraphicsState state_;
  std::optional<GraphicsState> saved_;  // the state before the open "q"
  QString unembeddable_;                // the first font that could not be embedded
};

PdfWriter::PdfWriter(QIODevice* device)
    : engine_(std::make_unique<Engine>(device)),
      layout_(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()) {
  setPageLayout(layout_);
}

PdfWriter::~PdfWriter() = default;

bool PdfWriter::setPageLayout(const QPageLayout& layout) {
  if (!layout.isValid()) return false;
  layout_ = layout;
  engine_->setPage(QSizeF(layout.fullRectPoints().size()), dpi_);
  return true;
}

void PdfWriter::setResolution(int dpi) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  setPageLayout(layout_);
}

void PdfWriter::setMetadata(const PdfMetadata& metadata) { engine_->setMetadata(metadata); }

void PdfWriter::addOutlineEntry(const QString& title) {
  if (PdfFile* file = engine_->file()) file->addOutlineEntry(title);
}

void PdfWriter::setPageNumber(int number) {
  if (PdfFile* file = engine_->file()) file->setPageNumber(number);
}

bool PdfWriter::newPage() { return engine_->newPage(); }

bool PdfWriter::drawGlyphRun(QPainter& painter, const QGlyphRun& run, const QColor& color) {
  auto* writer = dynamic_cast<PdfWriter*>(painter.device());
  if (!writer || !painter.isActive()) return false;
  writer->engine_->drawGlyphs(run.rawFont(), run.glyphIndexes(), run.positions(), color,
                              painter.combinedTransform());
  return true;
}

QString PdfWriter::unembeddableFont() const { return engine_->unembeddableFont(); }

QPaintEngine* PdfWriter::paintEngine() const { return engine_.get(); }

int PdfWriter::metric(PaintDeviceMetric metric) const {
  const QSizeF points = layout_.fullRectPoints().size();
  switch (metric) {
    case PdmWidth: return qRound(points.width() * dpi_ / 72);
    case PdmHeight: return qRound(points.height() * dpi_ / 72);
    case PdmWidthMM: return qRound(points.width() * 25.4 / 72);
    case PdmHeightMM: return qRound(points.height() * 25.4 / 72);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dpi_;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
  }
}

}  // namespace tarquelas::report
