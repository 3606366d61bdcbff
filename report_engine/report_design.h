// The design of a banded report: page settings, sections and the controls in
// them, all in twips (1/1440 inch) relative to the section's top-left corner.
// The report's code changes captions, values, visibility and group keys
// through the Control and Section objects while the engine lays it out;
// controls keep their addresses for the design's whole life.
#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace tarquelas::report {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

enum class ControlKind { Label, TextField, Line, Shape, Image, BarCode };

enum class Edge : quint8 { None, Thin, Thick };

struct Borders {
  Edge left = Edge::None;
  Edge top = Edge::None;
  Edge right = Edge::None;
  Edge bottom = Edge::None;

  static constexpr Borders all(Edge e) { return {e, e, e, e}; }
  static constexpr Borders allButLeft(Edge e) { return {Edge::None, e, e, e}; }
  static constexpr Borders allButRight(Edge e) { return {e, e, Edge::None, e}; }
};

struct TextStyle {
  QString family;
  int sizeTwips = 9 * kTwipsPerPoint;  // 9 pt
  bool bold = false;
  Qt::Alignment alignment = Qt::AlignLeft;
  QColor color = Qt::black;
  QColor background;  // invalid: transparent
  bool multiLine = false;
};

// The symbologies a bar-code control draws.
enum class Symbology { Code128, Interleaved2of5 };

struct Control {
  QString name;
  ControlKind kind = ControlKind::Label;
  QRect rect;         // every kind but Line
  QLine line;         // Line only
  QString text;       // label caption, text field text, bar-code value
  TextStyle style;    // labels and text fields
  Borders borders;    // labels, text fields
  QString picture;    // Image: a resource path
  QSize pictureSize;  // Image: the size it prints at (made smaller to fit rect), whatever its pixels
  Symbology symbology = Symbology::Code128;
  bool visible = true;

  // The vertical extent the control occupies in its section.
  int top() const;
  int bottom() const;
};

enum class SectionKind { PageHeader, GroupHeader, Detail, GroupFooter, PageFooter };

struct Section {
  QString name;
  SectionKind kind = SectionKind::Detail;
  int height = 0;
  std::deque<Control> controls;
  bool newPageAfter = false;
  QString groupKey;  // group headers: the key of the record that comes next
  // Group headers: the outline entry of the group the band opens, set by
  // the report's code; empty for none.
  QString bookmark;
  std::function<void()> format;
  std::function<void()> afterPrint;

  Control& add(Control control);
  // The control named name; the design must hold it.
  Control& control(QStringView name);
  const Control* find(QStringView name) const;
};

// Paper settings: A4 portrait, margins in twips.
struct PageSettings {
  int paperWidth = 11906;
  int paperHeight = 16838;
  int top = 1440;
  int bottom = 1440;
  int left = 1440;
  int right = 1440;

  int bodyHeight() const { return paperHeight - top - bottom; }
};

inline constexpr int kGroupLevels = 2;  // outer, inner

struct ReportDesign {
  PageSettings page;
  Section pageHeader;
  Section groupHeaders[kGroupLevels];  // outer first
  Section detail;
  Section groupFooters[kGroupLevels];  // outer first
  Section pageFooter;

  // Every section in layout order.
  std::vector<Section*> sections();
  Control* findControl(QStringView name);
};

}  // namespace tarquelas::report
