#include "dialogs/UseTimeMenu.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "dialogs/DialogButtons.h"
#include "protocol/UseTimeFlow.h"

namespace orx {

namespace {

QString fromCp1252(const std::string& text) { return QString::fromStdString(cp1252ToUtf8(text)); }

}  // namespace

UseTimeMenu::UseTimeMenu(UseTimeRequests& requests, QWidget* parent, const std::string& initialText)
    : QDialog(parent), requests_(requests) {
  setObjectName("UseTimeMenu");
  setWindowTitle("ESC Use Time");
  setModal(false);

  auto* caption = new QLabel("ESC Use Time:", this);
  text_ = new QLabel(kUseTimeUnknown, this);
  text_->setObjectName(QString::number(kText));
  text_->setMinimumWidth(120);
  auto* get = plainButton("Get Use Time", kGet, this);
  auto* reset = plainButton("Reset Use Time", kReset, this);
  auto* ok = plainButton("OK", 1, this);
  ok->setDefault(true);

  auto* row = new QHBoxLayout;
  row->addWidget(caption);
  row->addWidget(text_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(actionRow(get, reset, ok));

  connect(get, &QPushButton::clicked, this, &UseTimeMenu::onGet);
  connect(reset, &QPushButton::clicked, this, &UseTimeMenu::onReset);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  if (!initialText.empty()) SetUseTimeText(initialText);
}

void UseTimeMenu::SetUseTimeText(const std::string& text) {
  text_->setText(text.empty() ? QString(kUseTimeUnknown) : fromCp1252(text));
}

QString UseTimeMenu::shownText() const { return text_->text(); }

void UseTimeMenu::onGet() {
  requests_.queryUseTime(relay_.wrap(std::function<void(const std::string&)>(
      [this](const std::string& text) { SetUseTimeText(text); })));
}

void UseTimeMenu::onReset() {
  // The window does not wait for the ESC, which never confirms a reset.
  SetUseTimeText(kUseTimeZero);
  requests_.clearUseTime();
}

}  // namespace orx
