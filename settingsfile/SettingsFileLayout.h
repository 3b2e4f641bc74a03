// The .cfg settings file: fixed texts and the order of its key lines.
//
// The file holds the texts the controls show, not ESC values. Its 24 settings
// lines are known to the loader by position (the key index, 1..24), never by
// key text: "VOLTAGE CUTOFF:" occurs twice.
#pragma once

#include <array>
#include <cstddef>

namespace orx::cfg {

inline constexpr const char* kLineEnd = "\r\n";
inline constexpr const char* kHeader1 = "ORX DEVICE MANAGER PROGRAM SETTINGS";
inline constexpr const char* kHeader2 = "PLEASE DO NOT MODIFY THIS FILE OR ERRORS MAY OCCUR";
inline constexpr const char* kDateKey = "DATE:  ";
inline constexpr const char* kDateFormat = "%02d/%02d/%04d %02d:%02d:%02d";  // month/day/year h:m:s
inline constexpr const char* kFirmwareKey = "FIRMWARE VERSION:  ";

inline constexpr const char* kFileFilter = "Config Files (*.cfg)|*.cfg||";
inline constexpr const char* kDefaultExtension = "cfg";

// Key indexes, in file order.
enum Key : int {
  StartupPower = 1,
  DriveFrequency,
  SyncRectification,
  SrBraking,
  CalibrationMode,
  CalibrationRange,
  CutoffOnOff,
  CutoffLevel,
  AdvanceTiming,
  MotorDirection,
  ArmingTones,
  PropellerHold,
  MotorEdition,
  Adapter,
  CanBaud,
  CanControl,
  Overload,
  Acceleration,
  DataLogSpeed,
  StallProtection,
  DefaultEscId,
  NodeId,
  DroneCanMotor,
  DroneCanPoles,
};
inline constexpr int kKeyCount = 24;

// Key texts with their two spaces, indexed by key - 1.
inline constexpr std::array<const char*, kKeyCount> kKeyTexts{
    "STARTUP POWER:  ",       "DRIVE FREQUENCY:  ",  "SYNCHRONOUS RECTIFICATION:  ",
    "S.R. BRAKING ACTIVATION:  ", "THROTTLE CALIBRATION MODE:  ", "THROTTLE CALIBRATION RANGE:  ",
    "VOLTAGE CUTOFF:  ",      "VOLTAGE CUTOFF:  ",   "ADVANCED TIMING:  ",
    "MOTOR DIRECTION:  ",     "ARMING TONES:  ",     "PROPELLER HOLD:  ",
    "MOTOR EDITION:  ",       "ADAPTER:  ",          "ORXCAN BAUD:  ",
    "CAN BUS CONTROL:  ",     "OVERLOAD PROTECTION:  ", "ACCELERATION RATE:  ",
    "DATA LOG SPEED:  ",      "STALL PROTECTION:  ", "DEFAULT ESC ID:  ",
    "CAN BUS NODE ID:  ",     "DRONECAN MOTOR:  ",   "DRONECAN POLES:  ",
};

// A value holds at most this many bytes of its line (line end included).
inline constexpr std::size_t kMaxValueLength = 97;

// The loader refuses larger files. A saved file is well under 2 KiB; this
// leaves room for hand-edited ones while keeping a stray pick (a disk image,
// a video) from being read into memory.
inline constexpr std::size_t kMaxFileSize = 1024 * 1024;

}  // namespace orx::cfg
