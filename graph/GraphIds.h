// Control and command ids of the graph window (template 154, menu 153).
#pragma once

namespace orx::graph {

namespace gid {
inline constexpr int kChart = 1077;
inline constexpr int kProgressBar = 1069;
inline constexpr int kProgressText = 1102;
inline constexpr int kReadButton = 1103;
inline constexpr int kClearButton = 1105;
inline constexpr int kCursorTime = 1109;
inline constexpr int kFlightNumber = 1153;
}  // namespace gid

namespace gcmd {
inline constexpr int kLoadData = 32794;
inline constexpr int kSaveData = 32795;
inline constexpr int kExportImage = 32796;
inline constexpr int kPrint = 57607;
inline constexpr int kReadLog = 32814;
inline constexpr int kClearLog = 32815;
inline constexpr int kExit = 32797;
inline constexpr int kCopy = 32791;
inline constexpr int kChangeUnits = 32798;
inline constexpr int kRpmSetup = 32805;
inline constexpr int kDisplayOptions = 32792;
inline constexpr int kAllSessions = 32809;
inline constexpr int kSelectSession = 32811;
inline constexpr int kCrossHairOn = 32817;
inline constexpr int kCrossHairOff = 32818;
inline constexpr int kHelp = 32793;
inline constexpr int kVersion = 32820;
}  // namespace gcmd

// One column of the readout table: the quantity's axis key and its statics.
struct ReadoutColumn {
  const char* key;
  const char* label;
  int cursor;
  int average;
  int maximum;
  int minimum;
};
inline constexpr ReadoutColumn kReadoutColumns[] = {
    {"IV", "Drive Voltage:", 1144, 1145, 1146, 1147},
    {"DC", "Drive Current:", 1148, 1149, 1150, 1151},
    {"TE", "Temperature:", 1136, 1137, 1138, 1139},
    {"DP", "Drive Power:", 1120, 1121, 1122, 1123},
    {"IT", "Input Throttle:", 1132, 1133, 1134, 1135},
    {"OT", "Output Throttle:", 1128, 1129, 1130, 1131},
    {"RP", "Motor RPM:", 1140, 1141, 1142, 1143},
    {"PC", "Power Consumption:", 1152, 1157, 1154, 1155},
};

// Protection indicators by flag number 0..5.
struct IndicatorSpec {
  int id;
  const char* label;
};
inline constexpr IndicatorSpec kIndicators[] = {
    {1158, "Stall Protection:"}, {1159, "Over Temp:"},     {1160, "Overload:"},
    {1162, "Over Voltage:"},     {1163, "Under Voltage:"}, {1161, "Voltage Cutoff:"},
};

inline constexpr const char* kNotAvailable = "n/a";

}  // namespace orx::graph
