#include "widgets/preview_pages.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "voucher_report/voucher_report.h"

namespace tarquelas {

namespace {

constexpr int kGap = 12;  // around and between pages, in pixels
constexpr int kShadow = 3;
constexpr double kPointsPerInch = 72.0;
constexpr double kMetresPerInch = 0.0254;
// Page images kept beyond those in view: enough to scroll back and forth.
constexpr qsizetype kCacheBytes = qsizetype(48) * 1024 * 1024;
constexpr std::array kZoomSteps{0.1, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};
// A page image larger than this (a page at about 150 % and more) is not
// kept: only the part in view is painted.
constexpr qsizetype kLargestKeptImage = qsizetype(8) * 1024 * 1024;
constexpr double kZoomEpsilon = 0.001;

}  // namespace

PreviewPages::PreviewPages(const VoucherReport& report, QWidget* parent)
    : QAbstractScrollArea(parent), report_(report), pageCount_(report.pageCount()) {
  setFrameShape(QFrame::NoFrame);
  setBackgroundRole(QPalette::Dark);
  viewport()->setBackgroundRole(QPalette::Dark);
  viewport()->setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  verticalScrollBar()->setSingleStep(40);
  horizontalScrollBar()->setSingleStep(40);
  relayout();
}

void PreviewPages::setCurrentPage(int page) {
  page = std::clamp(page, 0, std::max(pageCount_ - 1, 0));
  if (page == current_) return;
  current_ = page;
  scrollToCurrent();
  viewport()->update();
  emit currentPageChanged(current_);
}

void PreviewPages::setZoom(double zoom) {
  fit_ = Fit::None;
  applyZoom(zoom);
}

void PreviewPages::zoomIn() {
  const auto next = std::find_if(kZoomSteps.begin(), kZoomSteps.end(),
                                 [this](double step) { return step > zoom_ + kZoomEpsilon; });
  setZoom(next == kZoomSteps.end() ? kMaxZoom : *next);
}

void PreviewPages::zoomOut() {
  const auto previous = std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(),
                                     [this](double step) { return step < zoom_ - kZoomEpsilon; });
  setZoom(previous == kZoomSteps.rend() ? kMinZoom : *previous);
}

void PreviewPages::setFit(Fit fit) {
  fit_ = fit;
  applyFit();
}

void PreviewPages::setMode(Mode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  applyFit();
  relayout();
  scrollToCurrent();
  viewport()->update();
}

int PreviewPages::stepFrom(int page, int steps) const {
  const int first = page - page % columns();
  return std::clamp(first + steps * columns(), 0, std::max(pageCount_ - 1, 0));
}

void PreviewPages::screenDown() {
  QScrollBar* bar = verticalScrollBar();
  if (mode_ != Mode::Continuous && bar->value() == bar->maximum()) {
    if (!atLastPage()) setCurrentPage(stepFrom(current_, 1));
    return;
  }
  bar->setValue(bar->value() + bar->pageStep());
}

void PreviewPages::screenUp() {
  QScrollBar* bar = verticalScrollBar();
  if (mode_ != Mode::Continuous && bar->value() == 0) {
    if (atFirstPage()) return;
    setCurrentPage(stepFrom(current_, -1));
    scrolling_ = true;
    bar->setValue(bar->maximum());
    scrolling_ = false;
    return;
  }
  bar->setValue(bar->value() - bar->pageStep());
}

void PreviewPages::releaseImages() { std::list<CachedPage>().swap(cache_); }

QList<int> PreviewPages::visiblePages() const {
  if (pageCount_ == 0) return {};
  int first = firstShown();
  int last = std::min(first + columns() - 1, pageCount_ - 1);
  if (mode_ == Mode::Continuous) {
    const int top = verticalScrollBar()->value();
    first = std::clamp((top - kGap) / rowHeight(), 0, pageCount_ - 1);
    last = std::clamp((top + viewport()->height()) / rowHeight(), first, pageCount_ - 1);
  }
  QList<int> pages;
  for (int page = first; page <= last; ++page)
    if (pageRect(page).intersects(viewport()->rect())) pages.append(page);
  return pages;
}

void PreviewPages::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QList<int> pages = visiblePages();
  for (int page : pages) {
    const QRect rect = pageRect(page);
    if (!rect.intersects(event->rect())) continue;
    painter.fillRect(rect.translated(kShadow, kShadow), palette().color(QPalette::Shadow));
    if (qsizetype(rect.width()) * rect.height() * 4 * devicePixelRatioF() * devicePixelRatioF() >
        kLargestKeptImage) {
      const QRect part = rect & event->rect() & viewport()->rect();
      painter.drawImage(part, pagePart(page, rect, part));
    } else {
      painter.drawImage(rect, pageImage(page));
    }
  }
  if (!shown_ && !pages.isEmpty()) {
    shown_ = true;
    // After this paint: whoever waits for it may close windows.
    QMetaObject::invokeMethod(this, &PreviewPages::firstPageShown, Qt::QueuedConnection);
  }
}

void PreviewPages::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  applyFit();
  relayout();
}

void PreviewPages::scrollContentsBy(int, int) {
  if (!scrolling_ && mode_ == Mode::Continuous) setCurrentFromScroll();
  viewport()->update();
}

void PreviewPages::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (event->modifiers() & Qt::ControlModifier) {
    if (delta > 0) zoomIn();
    if (delta < 0) zoomOut();
    event->accept();
    return;
  }
  // One page or two: past the end of the shown pages the wheel turns to
  // the next ones, as it would scroll on through a continuous view.
  QScrollBar* bar = verticalScrollBar();
  if (mode_ != Mode::Continuous && delta < 0 && bar->value() == bar->maximum() &&
      firstShown() + columns() < pageCount_) {
    setCurrentPage(firstShown() + columns());
    event->accept();
    return;
  }
  if (mode_ != Mode::Continuous && delta > 0 && bar->value() == 0 && firstShown() > 0) {
    setCurrentPage(firstShown() - columns());
    scrolling_ = true;
    bar->setValue(bar->maximum());
    scrolling_ = false;
    event->accept();
    return;
  }
  QAbstractScrollArea::wheelEvent(event);
}

QSizeF PreviewPages::pageSizeAt100() const {
  const QSizeF points = report_.pageLayout().fullRectPoints().size();
  return points * (logicalDpiX() / kPointsPerInch);
}

QSize PreviewPages::pageSize() const {
  const QSizeF size = pageSizeAt100() * zoom_;
  return {std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height())))};
}

int PreviewPages::firstShown() const { return mode_ == Mode::TwoPages ? current_ - current_ % 2 : current_; }

int PreviewPages::rowHeight() const { return pageSize().height() + kGap; }

QSize PreviewPages::contentSize() const {
  const QSize page = pageSize();
  const int rows = mode_ == Mode::Continuous ? std::max(pageCount_, 1) : 1;
  return {columns() * (page.width() + kGap) + kGap, rows * rowHeight() + kGap};
}

QRect PreviewPages::pageRect(int page) const {
  const QSize content = contentSize();
  const QSize view = viewport()->size();
  const int left =
      view.width() > content.width() ? (view.width() - content.width()) / 2 : -horizontalScrollBar()->value();
  const int top = view.height() > content.height() ? (view.height() - content.height()) / 2
                                                   : -verticalScrollBar()->value();
  const int column = mode_ == Mode::TwoPages ? page - firstShown() : 0;
  const int row = mode_ == Mode::Continuous ? page : 0;
  const QSize size = pageSize();
  return {left + kGap + column * (size.width() + kGap), top + kGap + row * rowHeight(), size.width(),
          size.height()};
}

QImage PreviewPages::pageImage(int page) {
  const auto cached =
      std::find_if(cache_.begin(), cache_.end(), [page](const CachedPage& c) { return c.page == page; });
  if (cached != cache_.end()) {
    cache_.splice(cache_.begin(), cache_, cached);
    return cache_.front().image;
  }
  // The report paints at the device's resolution: the zoom's, in pixels.
  const qreal ratio = devicePixelRatioF();
  const double dotsPerMetre = logicalDpiX() * zoom_ * ratio / kMetresPerInch;
  QImage image(pageSize() * ratio, QImage::Format_RGB32);
  image.setDotsPerMeterX(int(std::lround(dotsPerMetre)));
  image.setDotsPerMeterY(int(std::lround(dotsPerMetre)));
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    report_.paintPage(page, painter);
  }
  image.setDevicePixelRatio(ratio);
  ++pagesPainted_;
  cache_.push_front({page, image});
  // Enough for the pages in view twice over, at least kCacheBytes.
  const qsizetype budget = std::max(kCacheBytes, 2 * columns() * image.sizeInBytes());
  qsizetype bytes = 0;
  for (const CachedPage& c : cache_) bytes += c.image.sizeInBytes();
  while (cache_.size() > 1 && bytes > budget) {
    bytes -= cache_.back().image.sizeInBytes();
    cache_.pop_back();
  }
  return image;
}

QImage PreviewPages::pagePart(int page, const QRect& rect, const QRect& part) {
  const qreal ratio = devicePixelRatioF();
  const double dotsPerMetre = logicalDpiX() * zoom_ * ratio / kMetresPerInch;
  QImage image(part.size() * ratio, QImage::Format_RGB32);
  image.setDotsPerMeterX(int(std::lround(dotsPerMetre)));
  image.setDotsPerMeterY(int(std::lround(dotsPerMetre)));
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.translate(QPointF(rect.topLeft() - part.topLeft()) * ratio);
    report_.paintPage(page, painter);
  }
  image.setDevicePixelRatio(ratio);
  ++pagesPainted_;
  return image;
}

void PreviewPages::applyZoom(double zoom) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (std::abs(zoom - zoom_) < kZoomEpsilon) return;
  zoom_ = zoom;
  cache_.clear();
  relayout();
  scrollToCurrent();
  viewport()->update();
  emit zoomChanged(zoom_);
}

void PreviewPages::applyFit() {
  if (fit_ == Fit::None) return;
  const QSizeF page = pageSizeAt100();
  const QSize area = maximumViewportSize();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const bool barShown = fit_ == Fit::Width || mode_ == Mode::Continuous;
  const double width =
      (area.width() - (barShown ? bar : 0) - (columns() + 1) * kGap) / (columns() * page.width());
  const double height = (area.height() - 2 * kGap) / page.height();
  applyZoom(fit_ == Fit::Width ? width : std::min(width, height));
}

void PreviewPages::relayout() {
  const QSize content = contentSize();
  const QSize view = viewport()->size();
  scrolling_ = true;
  horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
  verticalScrollBar()->setPageStep(view.height());
  scrolling_ = false;
}

void PreviewPages::scrollToCurrent() {
  scrolling_ = true;
  verticalScrollBar()->setValue(mode_ == Mode::Continuous ? current_ * rowHeight() : 0);
  scrolling_ = false;
}

void PreviewPages::setCurrentFromScroll() {
  const QScrollBar* bar = verticalScrollBar();
  const int page = bar->value() == bar->maximum() && bar->maximum() > 0
                       ? pageCount_ - 1
                       : (bar->value() + viewport()->height() / 3) / rowHeight();
  const int clamped = std::clamp(page, 0, std::max(pageCount_ - 1, 0));
  if (clamped == current_) return;
  current_ = clamped;
  emit currentPageChanged(current_);
}

}  // namespace tarquelas
