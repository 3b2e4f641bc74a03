// Small painted parts of the graph window: a protection indicator box and
// the banner at the top.
#pragma once

#include <QWidget>

namespace orx::graph {

// 0 not drawn, 1 clear, 2 tripped.
class ProtectionIndicator : public QWidget {
  Q_OBJECT
 public:
  explicit ProtectionIndicator(QWidget* parent = nullptr) : QWidget(parent) {}
  void setState(int state);
  int state() const { return state_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int state_ = 1;
};

class GraphBanner : public QWidget {
  Q_OBJECT
 public:
  explicit GraphBanner(QWidget* parent = nullptr) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace orx::graph
