// Help > Version: the modal "Change log" window with the change log in one
// read-only text control (1117), caret at the start.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace orx {

class Version : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kText = 1117;

  explicit Version(QWidget* parent = nullptr);

  QPlainTextEdit* textControl() const { return text_; }

 private:
  QPlainTextEdit* text_;
};

}  // namespace orx
