// Parts of the report as pages: a run of adjoining pages, and a set of runs
// in report order, which is what a print or a PDF of some vouchers holds.
#pragma once

#include <vector>

namespace tarquelas {

// Pages of the report, 0-based, both ends included; empty when last < first.
struct PageRange {
  int first = 0;
  int last = -1;
  int count() const { return last >= first ? last - first + 1 : 0; }
  friend bool operator==(const PageRange&, const PageRange&) = default;
};

// Runs of pages in order, none empty, none adjoining the next.
using PageSet = std::vector<PageRange>;

inline int pageCount(const PageSet& pages) {
  int count = 0;
  for (const PageRange& range : pages) count += range.count();
  return count;
}

}  // namespace tarquelas
