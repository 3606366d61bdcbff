#include "report_engine/report_design.h"

#include <algorithm>

namespace tarquelas::report {

int Control::top() const { return kind == ControlKind::Line ? std::min(line.y1(), line.y2()) : rect.top(); }

int Control::bottom() const {
  return kind == ControlKind::Line ? std::max(line.y1(), line.y2()) : rect.top() + rect.height();
}

Control& Section::add(Control control) { return controls.emplace_back(std::move(control)); }

Control& Section::control(QStringView name) {
  for (Control& c : controls)
    if (c.name == name) return c;
  qFatal("report design: no control %s in %s", qPrintable(name.toString()), qPrintable(this->name));
}

const Control* Section::find(QStringView name) const {
  for (const Control& c : controls)
    if (c.name == name) return &c;
  return nullptr;
}

std::vector<Section*> ReportDesign::sections() {
  return {&pageHeader,      &groupHeaders[0], &groupHeaders[1], &detail,
          &groupFooters[1], &groupFooters[0], &pageFooter};
}

Control* ReportDesign::findControl(QStringView name) {
  for (Section* s : sections())
    for (Control& c : s->controls)
      if (c.name == name) return &c;
  return nullptr;
}

}  // namespace tarquelas::report
