// "Notes": shows or edits the free text that travels with a saved log.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace orx::graph {

class GraphNotes : public QDialog {
  Q_OBJECT
 public:
  // `notes` in Windows-1252 with CR LF line breaks.
  GraphNotes(bool readOnly, std::string notes, QWidget* parent = nullptr);

  // After "OK" the edited text (CR LF line breaks), else the text given.
  const std::string& text() const { return text_; }
  QPlainTextEdit* edit() const { return edit_; }
  void onOk();

 private:
  QPlainTextEdit* edit_;
  std::string text_;
};

}  // namespace orx::graph
