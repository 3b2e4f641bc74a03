#include "graph/GraphNotes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Cp1252.h"

namespace orx::graph {

namespace {

// The edit box works with line feeds; the notes keep CR LF.
QString toEdit(const std::string& notes) {
  std::string lf;
  for (size_t i = 0; i < notes.size(); ++i)
    if (!(notes[i] == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n')) lf += notes[i];
  return QString::fromStdString(cp1252ToUtf8(lf));
}

std::string fromEdit(const QString& text) {
  const std::string bytes = utf8ToCp1252(text.toStdString());
  std::string crlf;
  for (char c : bytes) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

}  // namespace

GraphNotes::GraphNotes(bool readOnly, std::string notes, QWidget* parent) : QDialog(parent), text_(std::move(notes)) {
  setWindowTitle("Notes");
  setObjectName("160");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Notes:", this));
  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName("1087");
  edit_->setPlainText(toEdit(text_));
  edit_->setReadOnly(readOnly);
  layout->addWidget(edit_);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("1034");
  ok->setAutoDefault(false);  // Enter makes a new line in the notes
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, [this] { onOk(); });
  resize(420, 260);
}

void GraphNotes::onOk() {
  text_ = fromEdit(edit_->toPlainText());
  accept();
}

}  // namespace orx::graph
