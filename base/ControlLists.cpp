#include "ControlLists.h"

#include "ControlIds.h"
#include "Format.h"

namespace orx::lists {
namespace {

Entries numbered(const char* prefix, int first, int last, int step = 1) {
  Entries out;
  for (int n = first; n <= last; n += step) out.push_back(strprintf("%s%02d", prefix, n));
  return out;
}

}  // namespace

const Entries& motorEditionsNvq() {
  static const Entries e = [] {
    Entries out{"DEFAULT"};
    for (int n = 1; n <= 12; ++n) out.push_back(strprintf("MOTOR-%02d", n));
    out.push_back("CUSTOM MOTOR");
    return out;
  }();
  return e;
}

const Entries& motorEditionsCp210x() {
  static const Entries e{"DEFAULT",  "MOTOR-01", "MOTOR-02", "MOTOR-03", "MOTOR-04",
                         "MOTOR-06", "MOTOR-07", "MOTOR-08", "MOTOR-09", "MOTOR-10"};
  return e;
}

const Entries& motorEditionsFileCp210x() {
  static const Entries e{"DEFAULT",  "MOTOR-04", "MOTOR-06", "MOTOR-07",
                         "MOTOR-08", "MOTOR-09", "MOTOR-10"};
  return e;
}

const Entries& startupPowerNvq() {
  static const Entries e{"DYNAMIC", "HIGH (HARD)", "LOW (SOFT)"};
  return e;
}

const Entries& startupPowerCp210x() {
  static const Entries e{"DYNAMIC", "HIGH (HARD)"};
  return e;
}

const Entries& adapterEntries() {
  static const Entries e{"DUAL", "TRIPLE", "HEX"};
  return e;
}

const Entries& adapterDefaultOnly() {
  static const Entries e{"DEFAULT"};
  return e;
}

Entries initialEntries(int id) {
  switch (id) {
    case ctl::CutoffLevel: return {"3.0 V/CELL", "3.2 V/CELL", "3.4 V/CELL", "3.6 V/CELL"};
    case ctl::AdvanceTiming: return {"DYNAMIC", "PRECISION"};
    case ctl::StartupPower: return startupPowerNvq();
    case ctl::DriveFrequency: return {"PRECISION", "DYNAMIC", "BALANCED"};
    case ctl::SrBraking: return {"PRECISION", "DYNAMIC", "BALANCED"};
    case ctl::ArmingTones: return {"STANDARD", "ARM ONLY", "INITIALIZE"};
    case ctl::CalibrationMode: return {"DYNAMIC", "MANUAL", "RANGE"};
    case ctl::MotorEdition: return motorEditionsNvq();
    case ctl::Acceleration: return {"MEDIUM", "MEDIUM-HIGH", "HIGH", "ULTRA-HIGH"};
    case ctl::Overload: return {"ULTRA-HIGH", "STANDARD", "DISABLED"};
    case ctl::DataLogSpeed: return {"8HZ", "4HZ", "2HZ", "1HZ", "DISABLED"};
    case ctl::NodeId: return numbered("ID ", 2, 64);
    case ctl::DroneCanMotor: return numbered("ID ", 1, 64);
    case ctl::DroneCanPoles: return numbered("", 2, 48, 2);
    case ctl::Adapter: return adapterEntries();
    case ctl::CanBaud: return {"1000K", "500K", "250K", "125K", "100K", "DISABLED"};
    case ctl::CanControl: return {"PWM SYNC", "ORXCAN", "PWM ONLY", "DRONECAN"};
    default: return {};
  }
}

const std::vector<int>& allListIds() {
  static const std::vector<int> ids{
      ctl::CutoffLevel,  ctl::AdvanceTiming, ctl::StartupPower, ctl::DriveFrequency,
      ctl::ArmingTones,  ctl::CalibrationMode, ctl::SrBraking,  ctl::MotorEdition,
      ctl::Acceleration, ctl::Overload,      ctl::Adapter,      ctl::CanBaud,
      ctl::DataLogSpeed, ctl::NodeId,        ctl::CanControl,   ctl::DroneCanMotor,
      ctl::DroneCanPoles};
  return ids;
}

}  // namespace orx::lists
