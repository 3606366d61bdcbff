#include "report_engine/report_engine.h"

#include "report_engine/page_flow.h"

namespace tarquelas::report {

namespace {

class Run {
 public:
  Run(ReportDesign& design, const ReportEvents& events, PageSink& sink)
      : design_(design),
        events_(events),
        sink_(sink),
        flow_(design.page.bodyHeight() - design.pageFooter.height, design.pageHeader.height) {}

  Status go();

 private:
  void printBand(Section& section);
  void placeBand(const Section& section, int pageTopOffset, const BandSlice& slice, bool first, bool last);
  void moveToPage(int page);
  void finishPage();
  void openGroups(int from);
  void closeGroups(int downTo);
  int firstChangedLevel() const;
  bool stopped() const { return stop_; }

  ReportDesign& design_;
  const ReportEvents& events_;
  PageSink& sink_;
  PageFlow flow_;
  Page page_;
  int pageIndex_ = -1;
  QString openKeys_[kGroupLevels];
  bool stop_ = false;
};

Status Run::go() {
  if (events_.reportStart) events_.reportStart();
  if (!events_.hasData || !events_.hasData()) return Status::ok();
  openGroups(0);
  while (!stopped()) {
    printBand(design_.detail);
    if (events_.keepGoing && !events_.keepGoing()) stop_ = true;
    if (stopped()) break;
    if (!events_.hasData()) {
      closeGroups(0);
      break;
    }
    const int level = firstChangedLevel();
    if (level < kGroupLevels) {
      closeGroups(level);
      openGroups(level);
    }
  }
  if (!stopped()) finishPage();
  return stopped() ? Status::cancelled() : Status::ok();
}

int Run::firstChangedLevel() const {
  for (int level = 0; level < kGroupLevels; ++level)
    if (design_.groupHeaders[level].groupKey != openKeys_[level]) return level;
  return kGroupLevels;
}

void Run::openGroups(int from) {
  for (int level = from; level < kGroupLevels && !stopped(); ++level) {
    openKeys_[level] = design_.groupHeaders[level].groupKey;
    printBand(design_.groupHeaders[level]);
  }
}

void Run::closeGroups(int downTo) {
  for (int level = kGroupLevels - 1; level >= downTo && !stopped(); --level)
    printBand(design_.groupFooters[level]);
}

void Run::printBand(Section& section) {
  if (section.format) section.format();
  const std::vector<BandSlice> slices = flow_.place(section.height);
  for (std::size_t i = 0; i < slices.size() && !stopped(); ++i) {
    moveToPage(slices[i].page);
    if (i == 0 && !section.bookmark.isEmpty()) page_.bookmarks.push_back(section.bookmark);
    placeBand(section, design_.page.top + slices[i].pageTop, slices[i], i == 0, i + 1 == slices.size());
  }
  if (section.afterPrint) section.afterPrint();
  if (section.newPageAfter) flow_.breakPage();
}

// A control belongs to the slice in which its top lies; the first and last
// slices also take what lies above or below the band's own rows.
void Run::placeBand(const Section& section, int pageTop, const BandSlice& slice, bool first, bool last) {
  for (const Control& c : section.controls) {
    if (!c.visible) continue;
    const int top = c.top();
    if ((top < slice.bandFrom && !first) || (top >= slice.bandTo && !last && slice.bandTo > slice.bandFrom))
      continue;
    page_.items.push_back({&c, QPoint(design_.page.left, pageTop - slice.bandFrom), c.text});
  }
}

void Run::moveToPage(int page) {
  while (pageIndex_ < page && !stopped()) {
    if (pageIndex_ >= 0) finishPage();
    ++pageIndex_;
    page_ = Page();
    if (design_.pageHeader.format) design_.pageHeader.format();
    placeBand(design_.pageHeader, design_.page.top, {pageIndex_, 0, design_.pageHeader.height, 0}, true,
              true);
  }
}

void Run::finishPage() {
  if (pageIndex_ < 0) return;
  Section& footer = design_.pageFooter;
  if (footer.format) footer.format();
  const int footerTop = design_.page.paperHeight - design_.page.bottom - footer.height;
  placeBand(footer, footerTop, {pageIndex_, 0, footer.height, 0}, true, true);
  if (!sink_.takePage(std::move(page_))) stop_ = true;
  page_ = Page();
}

}  // namespace

qint64 groupPageCount(const ReportDesign& design, qint64 details) {
  PageFlow flow(design.page.bodyHeight() - design.pageFooter.height, design.pageHeader.height);
  for (const Section& header : design.groupHeaders) flow.place(header.height);
  for (qint64 i = 0; i < details; ++i) flow.place(design.detail.height);
  for (int level = kGroupLevels - 1; level >= 0; --level) flow.place(design.groupFooters[level].height);
  return flow.pageCount();
}

Status runReport(ReportDesign& design, const ReportEvents& events, PageSink& sink) {
  return Run(design, events, sink).go();
}

}  // namespace tarquelas::report
