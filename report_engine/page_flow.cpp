#include "report_engine/page_flow.h"

#include <algorithm>

namespace tarquelas::report {

PageFlow::PageFlow(int bodyHeight, int headerHeight)
    : bodyHeight_(std::max(bodyHeight, 1)), headerHeight_(std::clamp(headerHeight, 0, bodyHeight_ - 1)) {}

void PageFlow::newPage() {
  ++pages_;
  cursor_ = headerHeight_;
  breakPending_ = false;
}

std::vector<BandSlice> PageFlow::place(int height) {
  height = std::max(height, 0);
  // An empty band takes no room and starts no page.
  if (height == 0) {
    if (pages_ == 0 || breakPending_) return {};
    return {{pages_ - 1, 0, 0, cursor_}};
  }
  const bool pageIsFresh = pages_ > 0 && cursor_ == headerHeight_;
  if (pages_ == 0 || breakPending_ || (height > room() && !pageIsFresh)) newPage();

  std::vector<BandSlice> slices;
  int from = 0;
  while (true) {
    const int take = std::min(height - from, room());
    slices.push_back({pages_ - 1, from, from + take, cursor_});
    cursor_ += take;
    from += take;
    if (from >= height) break;
    newPage();
  }
  return slices;
}

}  // namespace tarquelas::report
