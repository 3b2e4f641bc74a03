// "Graph Sessions": picks one flight session of the loaded log.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace orx::graph {

class GraphSession : public QDialog {
  Q_OBJECT
 public:
  // Entry texts "Session %d: ..." and the number of the session shown now.
  GraphSession(const std::vector<std::string>& entries, int currentSession, QWidget* parent = nullptr);

  // After OK: the selected entry's text; empty when none was selected.
  const std::string& choice() const { return choice_; }
  QComboBox* combo() const { return combo_; }
  void onOk();

 private:
  QComboBox* combo_;
  std::vector<std::string> entries_;
  std::string choice_;
};

}  // namespace orx::graph
