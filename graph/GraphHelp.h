// "Help Menu" of the graph window: the help text with larger headings.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QTextEdit;

namespace orx::graph {

// The help text, lines joined by CR LF, seven more CR LF pairs at the end.
std::string graphHelpText();

// Character ranges [from, to) counting every line break as one character,
// and their size in twips.
struct HelpRange {
  int from;
  int to;
  int twips;
};
const std::vector<HelpRange>& graphHelpRanges();

class GraphHelp : public QDialog {
  Q_OBJECT
 public:
  explicit GraphHelp(QWidget* parent = nullptr);
  QTextEdit* edit() const { return edit_; }

 private:
  QTextEdit* edit_;
};

}  // namespace orx::graph
