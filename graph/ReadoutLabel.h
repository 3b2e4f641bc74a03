// A label of the graph window's read-out table. A mouse move over the chart
// gives each of the "Cursor:" row's labels a new number, and laying out and
// shaping a line of text cost the move more than everything else. A plain
// one-line text whose characters all have glyphs in the label's font is drawn
// from those glyphs, each an advance after the last, which is what shaping
// gives such a text; anything else is drawn by QLabel itself.
#pragma once

#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>

namespace orx::graph {

class ReadoutLabel : public QLabel {
 public:
  explicit ReadoutLabel(const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Lays out the current text if it changed; false when QLabel must draw it.
  bool laidOut();

  QString text_;  // the text `run_` holds
  QFont font_;
  QRawFont raw_;
  QGlyphRun run_;
  bool plain_ = false;
};

}  // namespace orx::graph
