#include "dialogs/QtAuxWindows.h"

#include "dialogs/GraphProtections.h"
#include "dialogs/HelpMenu.h"
#include "dialogs/UseTimeMenu.h"
#include "dialogs/Version.h"

namespace orx {

QtAuxWindows::QtAuxWindows(QWidget* mainWindow, UseTimeRequests& useTime, ProtectionsRequests& protections)
    : mainWindow_(mainWindow), useTime_(useTime), protections_(protections) {}

UseTimeMenu* QtAuxWindows::useTimeWindow() const { return useTimeWindow_; }
HelpMenu* QtAuxWindows::helpWindow() const { return helpWindow_; }

void QtAuxWindows::openUseTime() {
  auto* window = new UseTimeMenu(useTime_, mainWindow_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  // OK ends a modeless window: close it, which deletes it.
  QObject::connect(window, &QDialog::finished, window, &QWidget::close);
  useTimeWindow_ = window;
  window->show();
}

void QtAuxWindows::openProtections() {
  GraphProtections window(protections_, mainWindow_);
  window.exec();
}

void QtAuxWindows::openHelp() {
  auto* window = new HelpMenu(mainWindow_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &QDialog::finished, window, &QWidget::close);
  helpWindow_ = window;
  window->show();
}

void QtAuxWindows::openVersion() {
  Version window;
  window.exec();
}

}  // namespace orx
