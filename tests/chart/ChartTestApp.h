// A chart laid out like the graph window's for the widget tests, and mouse
// helpers.
#pragma once

#include <QApplication>
#include <QMouseEvent>

#include "chart/ChartCtrl.h"
#include "tests/support/QtTestApp.h"

namespace orx::test {

// A white chart with a bottom time axis (0..100 s) and a left axis (0..100),
// both without grid, rendered once.
struct AppFirst {
  AppFirst() { qtApp(); }
};

struct SimpleChart : AppFirst {
  CChartCtrl chart;
  CChartAxis* bottom;
  CChartAxis* left;

  explicit SimpleChart(int w = 800, int h = 500) {
    chart.resize(w, h);
    chart.EnableRedraw(false);
    chart.SetBackColor(Qt::white);
    chart.SetBorderColor(Qt::black);
    bottom = chart.CreateAxis(kBottomAxis);
    left = chart.CreateAxis(kLeftAxis);
    bottom->SetRange(0, 100);
    left->SetRange(0, 100);
    bottom->GetTitle()->SetText("Time (s)");
    bottom->GetGrid()->SetShown(false);
    left->GetGrid()->SetShown(false);
    chart.EnableRedraw(true);
    chart.RenderedImage();
  }
};

inline void sendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

inline void leftDrag(QWidget& w, QPoint from, QPoint to) {
  sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  sendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

inline void rightDrag(QWidget& w, QPoint from, QPoint to) {
  sendMouse(w, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
  sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
  sendMouse(w, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
}

inline void moveMouse(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }

}  // namespace orx::test
