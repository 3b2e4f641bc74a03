#include "graph/GraphHelp.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orx::graph {

namespace {

const char* const kHelpLines[] = {
    "Graph Navigation:",
    "Zoom: Left click on the chart and drag the mouse to the bottom-right",
    "A rectangle will appear allowing you to zoom into the area selected.",
    "",
    "Pan: The pan is controlled with the right mouse button. To pan the graph, right-click on the chart and move "
    "the mouse in the desired direction.",
    "",
    "Reset Zoom & Pan: Left click on the chart, similar to zoom, and drag the mouse to the top left. Zoom and pan "
    "will reset.",
    "",
    "Wheel Zoom: Turn the mouse wheel over the chart to zoom the time axis around the mouse pointer. Hold Ctrl "
    "while turning the wheel to zoom every axis.",
    "",
    "Double-Click: Double-click on the chart to reset zoom and pan, as dragging to the top left does.",
    "",
    "Display:",
    "Click 'View' -> 'Display Options' to change the visibility of data plots, graph colors, and axis locations.",
    "",
    "Data Sessions:",
    "Choose which session you wish to display by clicking 'View' -> 'Select Data Log Session'.",
    "",
    "A new logging session is started each time the esc is powered down or the input throttle drops to 0. When "
    "there are multiple sessions, the Flight Number will be displayed in the bottom right hand corner based on the "
    "current location of your mouse cursor.",
    "",
    "Changing Units: ",
    "Changing the units on the graph can be done by clicking 'Edit' -> 'Change Units'",
    "If an axis is not selected in 'View' -> 'Display Options' then unit selection will not be available.",
    "",
    "The following units can be changed:",
    "- Temperature: Fahrenheit or Celsius",
    "- Time: Seconds or Minutes",
    "- Power: Watts or Horsepower",
    "- Capacity: Amp Hours or Milliamp Hours or Watt Hours",
    "",
    "Saving A Screenshot:",
    "Screenshots can be saved by clicking 'File' -> 'Export Image'.",
    "",
    "Motor RPM:",
    "In order to calculate motor rpm the magnetic poles of your motor must be entered. To enter magnetic poles "
    "select 'Edit' -> 'RPM Setup' ",
    "Note: If the magnetic poles are not entered the rpm shown will be the electrical rpm and not the motor rpm.",
    "",
    "Loading From The Esc:",
    "The ORX NVQ series ESC's have data logging capabilities. Once your flight is complete plug the ESC into your "
    "computer via the included usb cable. From the ESC Data Log press the READ ESC LOG button, your data will begin "
    "to load. ",
    "Once the data is loaded, you can choose to save to a file from 'File' -> 'Save Data'. ",
    "",
    "Clearing Data From the ESC:",
    "To clear the flight log on the ESC press the 'CLEAR ESC LOG' button. ",
    "",
    "Note: 500 logs can be recorded on the ESC before it needs to be cleared. ",
    "Note: After data has been loaded from the esc, unplug the esc to increase the speed of the graph. ",
};

// The navigation lines of the mouse wheel and the double-click, which come
// after "Reset Zoom & Pan:"; every range behind them moves along.
constexpr const char* kAddedMarkers[] = {"Wheel Zoom:", "Double-Click:"};

std::string documentText() {
  std::string text;
  for (const char* line : kHelpLines) text += std::string(line) + "\n";
  return text;
}

}  // namespace

std::string graphHelpText() {
  std::string text;
  bool first = true;
  for (const char* line : kHelpLines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  for (int i = 0; i < 7; ++i) text += "\r\n";
  return text;
}

const std::vector<HelpRange>& graphHelpRanges() {
  static const std::vector<HelpRange> ranges = [] {
    std::vector<HelpRange> r = {
        {18, 23, 175},     {157, 162, 175},   {301, 320, 175},   {2068, 2074, 175}, {2141, 2146, 175},
        {0, 17, 210},      {424, 432, 210},   {542, 557, 210},   {904, 919, 210},   {1286, 1308, 210},
        {1370, 1383, 210}, {1629, 1650, 210}, {1969, 1997, 210},
    };
    const std::string doc = documentText();
    const int added = static_cast<int>(doc.find("Display:") - doc.find(kAddedMarkers[0]));
    const int at = static_cast<int>(doc.find(kAddedMarkers[0])) - 1;
    for (HelpRange& range : r)
      if (range.from >= at) range.from += added, range.to += added;
    for (const char* marker : kAddedMarkers) {
      const int from = static_cast<int>(doc.find(marker));
      r.push_back({from, from + static_cast<int>(std::string(marker).size()), 175});
    }
    return r;
  }();
  return ranges;
}

GraphHelp::GraphHelp(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Help Menu");
  setObjectName("162");
  auto* layout = new QVBoxLayout(this);
  edit_ = new QTextEdit(this);
  edit_->setObjectName("1117");
  edit_->setReadOnly(true);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Base, QColor(241, 241, 241));
  edit_->setPalette(palette);
  // Each CR LF is one line break in the document, as the ranges count them.
  QString text = QString::fromLatin1(graphHelpText().c_str());
  text.replace("\r\n", "\n");
  edit_->setPlainText(text);
  QTextCursor cursor(edit_->document());
  for (const HelpRange& r : graphHelpRanges()) {
    QTextCharFormat format;
    format.setFontFamilies({"Arial"});
    format.setFontPointSize(r.twips / 20.0);
    format.setFontWeight(r.twips == 210 ? QFont::Bold : QFont::Normal);
    cursor.setPosition(r.from);
    cursor.setPosition(r.to, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
  layout->addWidget(edit_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(620, 520);
}

}  // namespace orx::graph
