// Where bands go on the pages: a cursor down the body of the current page
// that starts a new page when a band does not fit, after a forced break, and
// cuts a band taller than a whole page into slices. Works on numbers only
// (twips), so page breaking is tested without painting.
#pragma once

#include <vector>

namespace tarquelas::report {

// One piece of a band on one page: the band's rows [bandFrom, bandTo) go to
// page at body offset pageTop.
struct BandSlice {
  int page = 0;
  int bandFrom = 0;
  int bandTo = 0;
  int pageTop = 0;

  bool operator==(const BandSlice&) const = default;
};

class PageFlow {
 public:
  // bodyHeight: the room for bands on a page; headerHeight: taken at the top
  // of every page by the page header.
  explicit PageFlow(int bodyHeight, int headerHeight = 0);

  // Places a band of height, starting a page where needed. A band taller
  // than an empty page comes back in several slices, one per page. A band of
  // height 0 starts no page: it gets no slice when no page is open.
  std::vector<BandSlice> place(int height);
  // The next band starts on a new page (no empty page is made when nothing
  // follows).
  void breakPage() { breakPending_ = true; }

  int pageCount() const { return pages_; }
  // Body offset where the next band would go on the current page.
  int cursor() const { return cursor_; }

 private:
  void newPage();
  int room() const { return bodyHeight_ - cursor_; }

  int bodyHeight_;
  int headerHeight_;
  int pages_ = 0;
  int cursor_ = 0;
  bool breakPending_ = false;
};

}  // namespace tarquelas::report
