// One coloured square of the protections window: blue for a protection that
// never tripped, orange for one that did, nothing (the dialog's grey) while
// unknown. Drawn filled with a sunken edge.
#pragma once

#include <QColor>
#include <QWidget>

#include "protocol/ProtectionsFlow.h"

namespace orx {

inline const QColor kProtectionBlue{20, 150, 240};
inline const QColor kProtectionOrange{250, 80, 20};

class ProtectionSquare : public QWidget {
  Q_OBJECT
 public:
  ProtectionSquare(int id, ProtectionState state, QWidget* parent = nullptr);

  ProtectionState state() const { return state_; }
  void setState(ProtectionState state) { state_ = state; }

  QSize sizeHint() const override { return {22, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ProtectionState state_;
};

}  // namespace orx
