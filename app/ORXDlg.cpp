#include "ORXDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <mutex>

#include "ControlMirror.h"
#include "base/MainWindowControls.h"
#include "MainWindowLayout.h"
#include "base/StatusDisplay.h"
#include "base/ControlIds.h"
#include "resources/Artwork.h"

namespace orx {

// Carries the change listener's posts to the window while it lives. The
// listener runs on any thread and may outlive the window, so it holds this
// instead of the window itself.
struct CORXDlg::Relay {
  std::mutex mutex;
  QPointer<CORXDlg> window;
  bool posted = false;

  void post() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!window || posted) return;
    posted = true;
    QMetaObject::invokeMethod(window.data(), &CORXDlg::syncFromShared, Qt::QueuedConnection);
  }
  void taken() {
    std::lock_guard<std::mutex> lock(mutex);
    posted = false;
  }
};

CORXDlg::CORXDlg(SharedControls& controls, MainWindowCommands& commands, QWidget* parent)
    : QDialog(parent),
      controls_(controls),
      prompter_(this),
      fileChooser_(this),
      controller_(controls, prompter_, commands),
      relay_(std::make_shared<Relay>()) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setObjectName("102");
  setWindowTitle(kWindowTitle);
  // Until one has been used, the DFU file dialog opens in the program's folder.
  fileChooser_.setDefaultFolder("dfu", QCoreApplication::applicationDirPath());
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(QPixmap::fromImage(res::programIcon(size)));
  setWindowIcon(icon);

  MainWindowWidgets built = buildMainWindow(*this);
  widgets_ = std::move(built.controls);
  actions_ = std::move(built.actions);

  relay_->window = this;
  std::weak_ptr<Relay> relay = relay_;
  controls_.setChangeListener([relay] {
    if (auto r = relay.lock()) r->post();
  });
  controller_.initialise();
  syncFromShared();
  connectControls();
}

CORXDlg::~CORXDlg() {
  {
    std::lock_guard<std::mutex> lock(relay_->mutex);
    relay_->window = nullptr;
  }
  releaseWaitingThreads();
}

void CORXDlg::releaseWaitingThreads() {
  prompter_.close();
  fileChooser_.close();
}

QWidget* CORXDlg::control(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

QAction* CORXDlg::action(int commandId) const {
  auto it = actions_.find(commandId);
  return it == actions_.end() ? nullptr : it->second;
}

void CORXDlg::setStatusDisplay(bool adapterGreen, bool deviceGreen) {
  controls_.update([&](DialogState& s) { ShowConnectionStatus(s, adapterGreen, deviceGreen); });
}

void CORXDlg::bringToFront() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void CORXDlg::syncFromShared() {
  relay_->taken();
  for (const auto& [id, state] : controls_.takeChanges()) applyControlState(control(id), state);
}

void CORXDlg::afterUserAction(int id) {
  syncFromShared();
  // A radio button or check box toggles itself on a click even where the model
  // did not change (a ticked radio clicked again); show the model's state.
  const ControlState state = controls_.read([id](const DialogState& s) { return s.get(id); });
  applyControlState(control(id), state);
}

void CORXDlg::connectControls() {
  for (const ControlInfo& info : mainWindowControls()) {
    const int id = info.id;
    QWidget* w = control(id);
    switch (info.kind) {
      case ControlKind::DropList:
        connect(static_cast<QComboBox*>(w), &QComboBox::activated, this, [this, id](int index) {
          controller_.selectionChanged(id, index);
          afterUserAction(id);
        });
        break;
      case ControlKind::Radio:
      case ControlKind::CheckBox:
      case ControlKind::PushButton:
      case ControlKind::InfoButton:
        connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this, [this, id](bool checked) {
          controller_.clicked(id, checked);
          afterUserAction(id);
        });
        break;
      case ControlKind::Edit:
        connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this, [this, id](const QString& text) {
          controller_.textEdited(id, fromWidgetText(text));
          afterUserAction(id);
        });
        w->installEventFilter(this);
        break;
      case ControlKind::Static:
      case ControlKind::Indicator:
      case ControlKind::ReadOnlyEdit:
      case ControlKind::Progress: break;
    }
  }
  for (const auto& [commandId, act] : actions_) {
    const int idCopy = commandId;
    connect(act, &QAction::triggered, this, [this, idCopy] { onCommand(idCopy); });
  }
}

bool CORXDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Menus, list pop-ups and other windows (a message box among them) only
    // borrow the focus; the user has not left the edit.
    const bool borrowed = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
    const int id = watched->objectName().toInt();
    if (!borrowed && !inFocusHandler_) {
      // After the focus has settled, so a box shown by the handler finds it there.
      QTimer::singleShot(0, this, [this, id] { onFocusLost(id); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CORXDlg::onFocusLost(int id) {
  inFocusHandler_ = true;
  const int moveTo = controller_.focusLost(id);
  inFocusHandler_ = false;
  syncFromShared();
  if (QWidget* target = control(moveTo)) target->setFocus(Qt::OtherFocusReason);
}

void CORXDlg::onCommand(int commandId) {
  if (controller_.command(commandId) == AfterCommand::EndDialog) done(1);
}

}  // namespace orx
