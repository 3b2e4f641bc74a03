// The adapter or device square: filled green or red, with a sunken edge.
#pragma once

#include <QColor>
#include <QFrame>

namespace orx {

class IndicatorSquare : public QFrame {
  Q_OBJECT
 public:
  explicit IndicatorSquare(QWidget* parent = nullptr);

  void setGreen(bool green);
  bool isGreen() const { return green_; }
  QColor fillColour() const;

  QSize sizeHint() const override { return {24, 24}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool green_ = false;
};

}  // namespace orx
