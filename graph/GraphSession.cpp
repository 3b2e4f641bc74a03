#include "graph/GraphSession.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "dialogs/DialogButtons.h"

namespace orx::graph {

GraphSession::GraphSession(const std::vector<std::string>& entries, int currentSession, QWidget* parent)
    : QDialog(parent), entries_(entries) {
  setWindowTitle("Graph Sessions");
  setObjectName("161");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel("Please select the desired flight session from the list below", this);
  text->setObjectName("1102");
  layout->addWidget(text);
  combo_ = new QComboBox(this);
  combo_->setObjectName("1042");
  combo_->setEditable(true);
  for (const std::string& e : entries_) combo_->addItem(QString::fromStdString(cp1252ToUtf8(e)));
  combo_->setCurrentIndex(-1);
  if (!entries_.empty() && currentSession >= 1 && currentSession <= static_cast<int>(entries_.size()))
    combo_->setCurrentIndex(currentSession - 1);
  layout->addWidget(combo_);
  addOkCancel(*this, *layout, [this] { onOk(); });
}

void GraphSession::onOk() {
  // Only a listed entry counts: text typed into the edit field is no choice.
  const int index = combo_->currentIndex();
  const bool listed = index >= 0 && index < static_cast<int>(entries_.size()) &&
                      combo_->currentText() == combo_->itemText(index);
  choice_ = listed ? entries_[static_cast<size_t>(index)] : std::string();
  accept();
}

}  // namespace orx::graph
