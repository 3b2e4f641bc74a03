#include "PortAccessNotice.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>
#include <algorithm>

#include "base/Messages.h"

namespace orx {

namespace {

constexpr const char* kHiddenKey = "portAccessNotice/hidden";

}  // namespace

PortAccessNotice::PortAccessNotice(QWidget* parentWindow, QSettings* settings, std::vector<std::string> ruleFiles)
    : parentWindow_(parentWindow),
      ownSettings_(settings == nullptr ? std::make_unique<QSettings>("orx-device-manager", "orx-device-manager")
                                       : nullptr),
      settings_(settings == nullptr ? ownSettings_.get() : settings),
      ruleFiles_(std::move(ruleFiles)),
      runner_([](QMessageBox& box) { box.exec(); }) {}

PortAccessNotice::~PortAccessNotice() = default;

void PortAccessNotice::post(const AccessProblem& problem) {
  QMetaObject::invokeMethod(this, [this, problem] { show(problem); }, Qt::QueuedConnection);
}

bool PortAccessNotice::show(const AccessProblem& problem) {
  const std::pair<AccessDevice, int> key{problem.device, problem.error};
  if (settings_->value(kHiddenKey, false).toBool()) return false;
  if (std::find(shown_.begin(), shown_.end(), key) != shown_.end()) return false;
  shown_.push_back(key);

  const AccessFacts facts = LookUpAccessFacts(problem, ruleFiles_);
  QMessageBox box(QMessageBox::Warning, kDefaultCaption, QString::fromStdString(AccessProblemSummary(problem)),
                  QMessageBox::Ok, parentWindow_);
  box.setTextFormat(Qt::PlainText);
  box.setInformativeText(QString::fromStdString(AccessProblemFix(problem, facts)));
  // The commands are there to be copied into a terminal, each on one line.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.setStyleSheet("QLabel#qt_msgbox_label, QLabel#qt_msgbox_informativelabel { min-width: 46em; }");
  auto* dontShow = new QCheckBox(kDontShowAgainText, &box);
  box.setCheckBox(dontShow);
  runner_(box);
  if (dontShow->isChecked()) settings_->setValue(kHiddenKey, true);
  return true;
}

}  // namespace orx
