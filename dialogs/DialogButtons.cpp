#include "dialogs/DialogButtons.h"

namespace orx {

QPushButton* plainButton(const char* text, int id, QWidget* parent) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(QString::number(id));
  b->setAutoDefault(false);
  return b;
}

QHBoxLayout* actionRow(QPushButton* first, QPushButton* second, QPushButton* ok) {
  auto* row = new QHBoxLayout;
  row->addWidget(first);
  row->addWidget(second);
  row->addStretch(1);
  row->addWidget(ok);
  return row;
}

QDialogButtonBox* addOkCancel(QDialog& dialog, QBoxLayout& layout, std::function<void()> onOk) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, std::move(onOk));
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout.addWidget(buttons);
  return buttons;
}

}  // namespace orx
