#include "QtPrompter.h"

#include <QMessageBox>
#include <QWidget>

#include "base/Cp1252.h"

namespace orx {
namespace {

QString toQt(const std::string& cp1252) {
  // A Windows box breaks lines at "\r\n"; a lone '\r' would show as a glyph here.
  return QString::fromStdString(cp1252ToUtf8(cp1252)).replace("\r\n", "\n").replace('\r', '\n');
}

QMessageBox::Icon toQt(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parentWindow)
    : parentWindow_(parentWindow), runner_([](QMessageBox& box) { return box.exec(); }), call_(this) {}

MsgAnswer QtPrompter::refusal(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
  }
  return MsgAnswer::Cancel;
}

MsgAnswer QtPrompter::ask(const Message& message) {
  MsgAnswer answer = refusal(message.buttons);
  call_.run([&] { answer = show(message); });
  return answer;
}

MsgAnswer QtPrompter::show(const Message& message) {
  QMessageBox box(toQt(message.icon), toQt(message.caption), toQt(message.text), toQt(message.buttons),
                  parentWindow_);
  box.setTextFormat(Qt::PlainText);
  const int pressed = runner_(box);
  switch (pressed) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return refusal(message.buttons);  // closed without a button
  }
}

}  // namespace orx
