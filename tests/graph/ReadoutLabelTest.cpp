// The read-out labels draw their texts as a plain label does.
#include <gtest/gtest.h>

#include <QLabel>

#include "graph/ReadoutLabel.h"
#include "tests/support/QtTestApp.h"

namespace orx::graph {
namespace {

TEST(ReadoutLabel, DrawsEveryTextAsAPlainLabelDoes) {
  test::qtApp();
  QWidget window;
  window.resize(300, 120);
  QLabel label(&window);
  ReadoutLabel readout("n/a", &window);
  // Texts drawn from glyphs (kerning pairs, signs, a degree sign, one wider
  // than the label), then texts left to QLabel: rich text, a mnemonic, a
  // character beyond Latin-1, none.
  const QString texts[] = {"n/a",
                           "12345 RPM",
                           QString::fromLatin1("105.0\xB0" "F"),
                           "-0.0%",
                           "AVATAR Ty 7.1 Wh",
                           "1234567890.123456789 RPM, too wide",
                           "<b>12</b>",
                           "a&b",
                           QString::fromUtf8("5 \xE2\x82\xAC"),
                           ""};
  for (const int height : {22, 23}) {
    label.setGeometry(10, 10, 140, height);
    readout.setGeometry(10, 60, 140, height);
    for (const QString& text : texts) {
      label.setText(text);
      readout.setText(text);
      const QImage shown = window.grab().toImage();
      EXPECT_EQ(shown.copy(readout.geometry()), shown.copy(label.geometry())) << text.toStdString() << ", " << height;
    }
  }
  readout.setEnabled(false);
  label.setEnabled(false);
  const QImage disabled = window.grab().toImage();
  EXPECT_EQ(disabled.copy(readout.geometry()), disabled.copy(label.geometry()));
}

}  // namespace
}  // namespace orx::graph
