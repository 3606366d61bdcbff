// The banded report engine: runs a report design over its data, calling the
// sections' Format and AfterPrint handlers in band order, opening and closing
// the two nested groups when their keys change, and hands each finished page
// to a sink. A page is a list of placed items, so the report is laid out once
// and painted as often as wanted.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

#include "report_engine/report_design.h"
#include "support/status.h"

namespace tarquelas::report {

// One visible control on a page: its design (style, size) and the text or
// value it held when its band was laid out. origin is where the control's
// section-relative coordinates start on the page, in twips from the paper's
// top-left corner.
struct PlacedItem {
  const Control* control = nullptr;
  QPoint origin;
  QString text;

  QRect rectOnPage() const { return control->rect.translated(origin); }
};

struct Page {
  std::vector<PlacedItem> items;
  // The bookmarks of the group headers that begin on the page, in order.
  std::vector<QString> bookmarks;
};

// Receives pages as they are finished. Returning false stops the run.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual bool takePage(Page&& page) = 0;
};

// The report's data-side handlers.
struct ReportEvents {
  std::function<void()> reportStart;  // once, before the first band
  std::function<bool()> hasData;      // true while a record waits for a detail band
  std::function<bool()> keepGoing;    // false when the user cancelled
};

// Lays out design page by page into sink. Ok, or cancelled when keepGoing
// or the sink said stop. The design must outlive the pages it produced.
Status runReport(ReportDesign& design, const ReportEvents& events, PageSink& sink);

// Pages one group takes when it starts a page: both group headers, details
// detail bands and both group footers placed as runReport places them,
// worked out on numbers. For a report whose inner group footer starts a new
// page after it, every group takes this many pages of its own.
qint64 groupPageCount(const ReportDesign& design, qint64 details);

// A sink that keeps every page (the preview's page model).
class PageCollector final : public PageSink {
 public:
  bool takePage(Page&& page) override {
    pages.push_back(std::move(page));
    return true;
  }
  std::vector<Page> pages;
};

}  // namespace tarquelas::report
