// The box that tells the user, once, that an adapter or the ESC's DFU boot
// loader is plugged in but cannot be opened: which device, why, and the exact
// commands that fix it. "Don't show again" is kept in the user's settings;
// the status line goes on naming the problem either way.
//
// Threading: post() may be called from any thread (the link worker reports
// there); show() and everything else run on the window's thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/AccessProblem.h"

class QMessageBox;
class QSettings;
class QWidget;

namespace orx {

inline constexpr const char* kDontShowAgainText = "Don't show this again";

class PortAccessNotice : public QObject {
  Q_OBJECT
 public:
  // Runs a prepared box; tests replace it to read and answer the box.
  using BoxRunner = std::function<void(QMessageBox&)>;

  // `settings` keeps the user's "don't show again"; null means the program's own.
  explicit PortAccessNotice(QWidget* parentWindow, QSettings* settings = nullptr,
                            std::vector<std::string> ruleFiles = DefaultRuleFiles());
  ~PortAccessNotice() override;

  void post(const AccessProblem& problem);
  // True when the box was shown: not for a device and reason already shown
  // in this run, nor after the user chose not to see it again.
  bool show(const AccessProblem& problem);
  void setBoxRunner(BoxRunner runner) { runner_ = std::move(runner); }

 private:
  QPointer<QWidget> parentWindow_;
  std::unique_ptr<QSettings> ownSettings_;
  QSettings* settings_;
  std::vector<std::string> ruleFiles_;
  BoxRunner runner_;
  std::vector<std::pair<AccessDevice, int>> shown_;
};

}  // namespace orx
