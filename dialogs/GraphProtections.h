// Options > Protections: the modal window that explains the colours, reads
// the five protection records with READ, clears them with CLEAR and shows one
// square per protection.
//
// Controls (objectName = id): 1119 READ, 1120 CLEAR, legend squares 1124
// (blue) and 1125 (orange), indicator squares 1121 over voltage, 1123 stall,
// 1127 low voltage cutoff, 1126 overload, 1122 over temperature. The squares
// start grey at every opening and change only when a read comes back.
#pragma once

#include <QDialog>
#include <array>

#include "device/EscRequests.h"
#include "dialogs/WindowRelay.h"

namespace orx {

class ProtectionSquare;

class GraphProtections : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kRead = 1119;
  static constexpr int kClear = 1120;
  // In the order of the reply bytes.
  static constexpr std::array<int, kProtectionCount> kIndicators{1121, 1123, 1127, 1126, 1122};

  explicit GraphProtections(ProtectionsRequests& requests, QWidget* parent = nullptr);

  // Sets the indicators and repaints the whole window.
  void SetProtections(const ProtectionStates& states);
  ProtectionStates states() const;

 private:
  ProtectionsRequests::StatesListener listener();

  ProtectionsRequests& requests_;
  std::array<ProtectionSquare*, kProtectionCount> squares_{};
  WindowRelay relay_{this};
};

}  // namespace orx
