// The pages of the voucher preview: a scroll area that shows one page, two
// pages side by side, or every page one under the other, and paints only
// the pages in view, through the report's paintPage, into a small cache of
// page images. Whatever the page count, memory holds a few pages at most.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <list>

namespace tarquelas {

class VoucherReport;

class PreviewPages final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class Mode { OnePage, TwoPages, Continuous };
  // Fit keeps the zoom fitted to the window as it changes size.
  enum class Fit { None, Width, Page };

  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 4.0;

  explicit PreviewPages(const VoucherReport& report, QWidget* parent = nullptr);

  int pageCount() const { return pageCount_; }
  // 0-based; 0 when there are no pages.
  int currentPage() const { return current_; }
  void setCurrentPage(int page);

  // 1.0 shows a page at its real size on the screen.
  double zoom() const { return zoom_; }
  void setZoom(double zoom);
  void zoomIn();
  void zoomOut();
  Fit fit() const { return fit_; }
  void setFit(Fit fit);

  Mode mode() const { return mode_; }
  void setMode(Mode mode);

  // The first page of the next or previous step (a spread of two pages in
  // that mode, else one page), clamped to the pages there are.
  int stepFrom(int page, int steps) const;
  bool atFirstPage() const { return firstShown() == 0; }
  bool atLastPage() const { return firstShown() + columns() >= pageCount_; }
  // Space and Shift+Space: on by a window's height, and on to the next
  // page (or back to the previous) past the end of the one shown.
  void screenDown();
  void screenUp();

  // Lets go of every page image painted (the window is closing).
  void releaseImages();

  // The pages a paint now would show, in order.
  QList<int> visiblePages() const;
  // How many page images have been painted so far.
  int pagesPainted() const { return pagesPainted_; }

 signals:
  void currentPageChanged(int page);
  void zoomChanged(double zoom);
  // Once, after the first page reached the screen.
  void firstPageShown();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct CachedPage {
    int page;
    QImage image;
  };

  QSizeF pageSizeAt100() const;
  QSize pageSize() const;  // in pixels at the current zoom
  int columns() const { return mode_ == Mode::TwoPages ? 2 : 1; }
  int firstShown() const;
  int rowHeight() const;
  QSize contentSize() const;
  QRect pageRect(int page) const;  // in viewport coordinates
  QImage pageImage(int page);
  // The part of page inside rect (viewport coordinates), painted afresh:
  // a page at a high zoom is never held whole.
  QImage pagePart(int page, const QRect& rect, const QRect& part);
  void applyZoom(double zoom);
  void applyFit();
  void relayout();
  void scrollToCurrent();
  void setCurrentFromScroll();

  const VoucherReport& report_;
  const int pageCount_;
  int current_ = 0;
  double zoom_ = 1.0;
  Fit fit_ = Fit::None;
  Mode mode_ = Mode::OnePage;
  bool scrolling_ = false;  // the scroll bars are being set from code
  bool shown_ = false;
  int pagesPainted_ = 0;
  std::list<CachedPage> cache_;  // most recently used first
};

}  // namespace tarquelas
