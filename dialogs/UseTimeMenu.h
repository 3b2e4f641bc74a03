// Options > ESC Use Time: a small modeless window that shows the use time of
// an NVQ series ESC and forwards Get and Reset to the ESC side.
//
// Controls (objectName = id): 1118 the use time text, 1041 Get Use Time,
// 1034 Reset Use Time, 1 OK. Lives on the window's thread; the text comes
// back from the link worker through its relay.
#pragma once

#include <QDialog>
#include <string>

#include "device/EscRequests.h"
#include "dialogs/WindowRelay.h"

class QLabel;
class QPushButton;

namespace orx {

class UseTimeMenu : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kText = 1118;
  static constexpr int kGet = 1041;
  static constexpr int kReset = 1034;

  // `initialText` (Windows-1252), when not empty, replaces "n/a" at once.
  UseTimeMenu(UseTimeRequests& requests, QWidget* parent = nullptr, const std::string& initialText = {});

  // Shows a use time text (Windows-1252); an empty one shows "n/a".
  void SetUseTimeText(const std::string& text);
  QString shownText() const;

 private:
  void onGet();
  void onReset();

  UseTimeRequests& requests_;
  QLabel* text_;
  WindowRelay relay_{this};
};

}  // namespace orx
