// Control and command ids of the main window. A widget's objectName is its id
// number, so the window, the settings codecs and the tests all meet on these.
#pragma once

namespace orx::ctl {

// Identity and status
inline constexpr int FirmwareVersion = 1004;
inline constexpr int McuId = 1156;
inline constexpr int EscId = 1157;
inline constexpr int AdapterStatusLabel = 1027;
inline constexpr int DeviceStatusLabel = 1028;
inline constexpr int AdapterIndicator = 1045;
inline constexpr int DeviceIndicator = 1046;
inline constexpr int UpdateFirmware = 1002;
inline constexpr int RepairMode = 1067;
inline constexpr int StatusLine = 1003;
inline constexpr int Progress = 1106;
inline constexpr int HelpText = 1030;

// Settings
inline constexpr int StartupPower = 1051;
inline constexpr int DriveFrequency = 1054;
inline constexpr int SyncRectEnabled = 1048;
inline constexpr int SyncRectDisabled = 1047;
inline constexpr int SrBraking = 1062;
inline constexpr int CalibrationMode = 1061;
inline constexpr int RangeMin = 1065;
inline constexpr int RangeMax = 1064;
inline constexpr int CutoffOn = 1052;
inline constexpr int CutoffOff = 1053;
inline constexpr int CutoffLevel = 1042;
inline constexpr int AdvanceTiming = 1043;
inline constexpr int DirectionForward = 1049;
inline constexpr int DirectionReverse = 1050;
inline constexpr int ArmingTones = 1060;
inline constexpr int PropHoldEnabled = 1058;
inline constexpr int PropHoldDisabled = 1057;
inline constexpr int MotorEdition = 1063;
inline constexpr int NodeInitial = 1072;
inline constexpr int NodeFixed = 1073;
inline constexpr int NodeId = 1100;
inline constexpr int CanBaud = 1074;
inline constexpr int CanControl = 1101;
inline constexpr int DataLogSpeed = 1099;
inline constexpr int Adapter = 1069;
inline constexpr int Acceleration = 1066;
inline constexpr int DroneCanMotor = 1102;
inline constexpr int DroneCanPoles = 1103;
inline constexpr int StallEnabled = 1071;
inline constexpr int StallDisabled = 1070;
inline constexpr int Overload = 1068;
inline constexpr int ResponseRunning = 1076;
inline constexpr int ResponseStarting = 1075;
inline constexpr int InfoStarting = 1159;
inline constexpr int InfoRunning = 1160;
inline constexpr int AdcGain = 1077;
inline constexpr int AdcOffset = 1078;
inline constexpr int SendSettings = 1041;
inline constexpr int DefaultSettings = 1034;

}  // namespace orx::ctl

// Menu 131 of the main window.
namespace orx::cmd {
inline constexpr int SaveAdvancedSettings = 32778;
inline constexpr int LoadAdvancedSettings = 32779;
inline constexpr int DataLog = 32771;
inline constexpr int Exit = 32773;
inline constexpr int ReadSettings = 32783;
inline constexpr int SendSettings = 32784;
inline constexpr int DefaultSettings = 32785;
inline constexpr int UseTime = 32812;
inline constexpr int Protections = 32822;
inline constexpr int Help = 32777;
inline constexpr int Version = 32820;
}  // namespace orx::cmd
