#include "dialogs/GraphProtections.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/DialogButtons.h"
#include "dialogs/ProtectionSquare.h"

namespace orx {

GraphProtections::GraphProtections(ProtectionsRequests& requests, QWidget* parent)
    : QDialog(parent), requests_(requests) {
  setObjectName("165");
  setWindowTitle("Protections");

  auto* legend = new QGridLayout;
  legend->addWidget(new QLabel("If a protection hasn't activated, it will appear in BLUE:", this), 0, 0);
  legend->addWidget(new ProtectionSquare(1124, ProtectionState::Clear, this), 0, 1);
  legend->addWidget(new QLabel("If a protection has activated, it will appear in ORANGE:", this), 1, 0);
  legend->addWidget(new ProtectionSquare(1125, ProtectionState::Activated, this), 1, 1);

  auto* records = new QGridLayout;
  for (size_t i = 0; i < kProtectionCount; ++i) {
    squares_[i] = new ProtectionSquare(kIndicators[i], ProtectionState::NotRead, this);
    records->addWidget(new QLabel(kProtectionLabels[i], this), static_cast<int>(i), 0);
    records->addWidget(squares_[i], static_cast<int>(i), 1);
  }

  auto* read = plainButton("READ", kRead, this);
  auto* clear = plainButton("CLEAR", kClear, this);
  auto* ok = plainButton("OK", 1, this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(legend);
  layout->addSpacing(8);
  layout->addLayout(records);
  layout->addSpacing(8);
  layout->addLayout(actionRow(read, clear, ok));

  connect(read, &QPushButton::clicked, this, [this] { requests_.readProtections(listener()); });
  connect(clear, &QPushButton::clicked, this, [this] { requests_.clearProtections(listener()); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

ProtectionsRequests::StatesListener GraphProtections::listener() {
  return relay_.wrap(std::function<void(const ProtectionStates&)>(
      [this](const ProtectionStates& states) { SetProtections(states); }));
}

void GraphProtections::SetProtections(const ProtectionStates& states) {
  for (size_t i = 0; i < kProtectionCount; ++i) squares_[i]->setState(states[i]);
  update();
  for (ProtectionSquare* s : squares_) s->update();
}

ProtectionStates GraphProtections::states() const {
  ProtectionStates s{};
  for (size_t i = 0; i < kProtectionCount; ++i) s[i] = squares_[i]->state();
  return s;
}

}  // namespace orx
