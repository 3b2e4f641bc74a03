#include "ControlMirror.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "IndicatorSquare.h"
#include "base/Cp1252.h"

namespace orx {

QString toWidgetText(const std::string& cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

std::string fromWidgetText(const QString& text) { return utf8ToCp1252(text.toStdString()); }

namespace {

void applyList(QComboBox* combo, const ControlState& state) {
  QStringList items;
  for (const std::string& item : state.items) items << toWidgetText(item);
  bool same = combo->count() == items.size();
  for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
  if (!same) {
    combo->clear();
    combo->addItems(items);  // selects the first entry by itself; corrected below
  }
  const int selection = state.selection < combo->count() ? state.selection : -1;
  if (combo->currentIndex() != selection) combo->setCurrentIndex(selection);
}

QString buttonText(const std::string& cp1252) {
  QString text = toWidgetText(cp1252);
  return text.replace('&', "&&");  // a caption, not a shortcut
}

}  // namespace

void applyControlState(QWidget* widget, const ControlState& state) {
  if (!widget) return;
  const QSignalBlocker block(widget);
  if (widget->testAttribute(Qt::WA_Disabled) == state.enabled) widget->setEnabled(state.enabled);

  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    applyList(combo, state);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    const QString text = toWidgetText(state.text);
    if (edit->text() != text) edit->setText(text);
  } else if (auto* square = qobject_cast<IndicatorSquare*>(widget)) {
    square->setGreen(state.checked);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    const QString text = toWidgetText(state.text);
    if (label->text() != text) label->setText(text);
  } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
    const int value = std::clamp(state.value, bar->minimum(), bar->maximum());
    if (bar->value() != value) bar->setValue(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (button->isCheckable() && button->isChecked() != state.checked) button->setChecked(state.checked);
    if (!qobject_cast<QToolButton*>(widget)) {  // the information buttons show a bitmap only
      const QString text = buttonText(state.text);
      if (button->text() != text) button->setText(text);
    }
  }
}

}  // namespace orx
