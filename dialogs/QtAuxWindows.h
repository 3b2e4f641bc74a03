// Opens the auxiliary windows over the main window: the use-time and help
// windows modeless (a new one each time, deleted when closed), the
// protections and version windows modal. Window's thread only.
#pragma once

#include <QPointer>
#include <string>

#include "device/EscRequests.h"

class QWidget;

namespace orx {

class UseTimeMenu;
class HelpMenu;

class QtAuxWindows : public AuxWindows {
 public:
  QtAuxWindows(QWidget* mainWindow, UseTimeRequests& useTime, ProtectionsRequests& protections);

  void openUseTime() override;
  void openProtections() override;
  void openHelp() override;
  void openVersion() override;

  // The window opened last, while it is open.
  UseTimeMenu* useTimeWindow() const;
  HelpMenu* helpWindow() const;

 private:
  QWidget* mainWindow_;
  UseTimeRequests& useTime_;
  ProtectionsRequests& protections_;
  QPointer<UseTimeMenu> useTimeWindow_;
  QPointer<HelpMenu> helpWindow_;
};

}  // namespace orx
