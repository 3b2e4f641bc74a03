#include "dialogs/Version.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "dialogs/ChangeLog.h"

namespace orx {

Version::Version(QWidget* parent) : QDialog(parent) {
  setObjectName("163");
  setWindowTitle("Change log");
  resize(520, 420);

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QString::number(kText));
  text_->setReadOnly(true);
  // Qt's text controls break lines at "\n"; a kept "\r" would show as a box.
  QString text = QString::fromStdString(cp1252ToUtf8(ChangeLogText()));
  text.replace("\r\n", "\n");
  text_->setPlainText(text);
  QTextCursor start = text_->textCursor();
  start.movePosition(QTextCursor::Start);
  text_->setTextCursor(start);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  text_->setFocus();
}

}  // namespace orx
