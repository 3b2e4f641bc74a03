#include "dialogs/HelpMenu.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogButtons.h"
#include "dialogs/HelpLinks.h"
#include "dialogs/HyperlinkStatic.h"

namespace orx {

namespace {

QLabel* text(const char* words, int id, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(words), parent);
  if (id != 0) label->setObjectName(QString::number(id));
  label->setWordWrap(true);
  return label;
}

CHyperlinkStatic* linkTo(const char* words, int id, const char* address, QWidget* parent) {
  auto* link = new CHyperlinkStatic(QString::fromLatin1(words), parent);
  link->setObjectName(QString::number(id));
  link->SetLink(QString::fromLatin1(address));
  return link;
}

// A text line with a link inside it: before, link, after.
QHBoxLayout* sentence(QWidget* before, QWidget* link, QWidget* after) {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  if (before != nullptr) row->addWidget(before);
  row->addWidget(link);
  if (after != nullptr) row->addWidget(after);
  row->addStretch(1);
  return row;
}

}  // namespace

HelpMenu::HelpMenu(QWidget* parent) : HelpMenu(0, parent) {}

HelpMenu::HelpMenu(int value, QWidget* parent) : QDialog(parent), value_(value) {
  setObjectName("151");
  setWindowTitle("Help Menu");
  setModal(false);
  setMinimumWidth(480);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text("The ORX Device Manager provides the ability to update and program the ", 0, this));
  layout->addLayout(sentence(
      nullptr,
      linkTo("ORX Electronic Speed Controller Series", kEscLink, helplinks::kEscSeries, this),
      text("(ESC) to the latest production", 1080, this)));
  layout->addWidget(text("firmware releases, and customize advanced options for multiple applications.  Advanced "
                         "technologies, such as Synchronous Rectification and Regenerative Braking, can be enabled "
                         "for enhanced performance and optimized motor control algorithms.",
                         1073, this));
  layout->addWidget(text("Optimized settings will be automatically applied to the ESC after firmware           "
                         "updates, with no additional changes needed for correct operation with the",
                         1074, this));
  layout->addLayout(sentence(
      nullptr,
      linkTo("ORX Multi-Rotor Brushless Motor Series", kMotorLink, helplinks::kMotorSeries, this),
      text("for unmanned aerial vehicle and multi-rotor", 1075, this)));
  layout->addWidget(text("applications.  Advanced programming options are available for alternate systems, such as "
                         "fixed-wing, single-rotor, and custom flight applications.           A wide-range of new "
                         "control-algorithm technologies can be programmed, such as",
                         1076, this));
  layout->addWidget(text("as brushless motor startup power, drive frequency, synchronous rectification, "
                         "temperature-controlled regenerative-braking, voltage cutoffs, and other market-leading "
                         "features.",
                         1079, this));
  layout->addWidget(text("For full details of the ORX Device Manager and the latest software, firmware and "
                         "instruction manual downloads, please visit the ",
                         1077, this));
  layout->addLayout(sentence(nullptr,
                             linkTo("ORX Device Manager", kManagerLink, helplinks::kDeviceManager, this),
                             text("webpage for full information.", 1078, this)));

  // A modeless dialog that ends is only hidden.
  addOkCancel(*this, *layout, [this] { accept(); });
}

CHyperlinkStatic* HelpMenu::link(int id) const { return findChild<CHyperlinkStatic*>(QString::number(id)); }

void HelpMenu::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (centred_ || parentWidget() == nullptr) return;
  centred_ = true;
  const QRect parentFrame = parentWidget()->frameGeometry();
  move(parentFrame.center() - rect().center());
}

}  // namespace orx
