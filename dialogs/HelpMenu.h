// Help > Help: the modeless "Help Menu" window, a few texts about the program
// with three links to the maker's pages (statics 1070, 1071, 1072).
#pragma once

#include <QDialog>

namespace orx {

class CHyperlinkStatic;

class HelpMenu : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kEscLink = 1070;
  static constexpr int kMotorLink = 1071;
  static constexpr int kManagerLink = 1072;

  explicit HelpMenu(QWidget* parent = nullptr);
  // As above; `value` is kept and nothing depends on it.
  HelpMenu(int value, QWidget* parent);

  CHyperlinkStatic* link(int id) const;
  int value() const { return value_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int value_ = 0;
  bool centred_ = false;
};

}  // namespace orx
