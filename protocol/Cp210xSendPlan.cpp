#include "protocol/Cp210xSendPlan.h"

#include <initializer_list>
#include <span>

#include "base/ControlIds.h"
#include "protocol/EditInteger.h"
#include "protocol/EscSettings.h"
#include "protocol/SettingsBlockCodec.h"

namespace orx {
namespace {

constexpr int kUnchanged = -1;

class Plan {
 public:
  std::vector<SendStep> steps;

  SendStep& command(const char* label, std::vector<uint8_t> bytes, bool ackRequired = true) {
    SendStep st;
    st.op = SendOp::Command;
    st.label = label;
    st.bytes = std::move(bytes);
    st.ackRequired = ackRequired;
    steps.push_back(std::move(st));
    return steps.back();
  }
  SendStep& wait(int ms, int progressAfter = kUnchanged) {
    SendStep st;
    st.op = SendOp::BusyWait;
    st.waitMs = ms;
    st.progressAfterReceive = progressAfter;
    steps.push_back(std::move(st));
    return steps.back();
  }
  void status(std::string text, int progress) {
    SendStep st;
    st.op = SendOp::Status;
    st.status = std::move(text);
    st.progressBefore = progress;
    steps.push_back(std::move(st));
  }
  void stop(std::string text) {
    SendStep st;
    st.op = SendOp::Stop;
    st.status = std::move(text);
    steps.push_back(std::move(st));
  }
  void clearRangeReset() {
    SendStep st;
    st.op = SendOp::ClearRangeReset;
    steps.push_back(std::move(st));
  }
};

// The code for the selected entry of a list, or nothing without a selection
// (or an entry the table has no code for).
std::vector<uint8_t> codeOf(const DialogState& s, int id, std::span<const uint8_t> codes) {
  const int sel = s.selection(id);
  if (sel < 0 || sel >= static_cast<int>(codes.size())) return {};
  return {codes[static_cast<size_t>(sel)]};
}

std::vector<uint8_t> codeOf(const DialogState& s, int id, std::initializer_list<uint8_t> codes) {
  return codeOf(s, id, std::span<const uint8_t>(codes.begin(), codes.size()));
}

// The code of whichever of two radio buttons is ticked; nothing when neither
// is (a setting never read must not be sent as one of its values).
std::vector<uint8_t> radioCode(const DialogState& s, int first, uint8_t firstCode, int second, uint8_t secondCode) {
  if (s.checked(first)) return {firstCode};
  if (s.checked(second)) return {secondCode};
  return {};
}

std::vector<uint8_t> pair(uint8_t prefix, int value) { return {prefix, static_cast<uint8_t>(value & 0xFF)}; }

void addRangeSteps(Plan& p, const DialogState& s) {
  const char* label = "THL CAB R";
  if (s.selection(ctl::CalibrationMode) == 2) {
    const int min = editInteger(s.text(ctl::RangeMin));
    if (min < kRangeMinLow || min > kRangeMinHigh) {
      p.stop(kRangeIncorrectStatus);
      return;
    }
    p.command(label, pair(0xF3, 2 * min)).progressAfterReceive = 42;
    p.command(label, pair(0xF4, min >> 7));
    const int max = editInteger(s.text(ctl::RangeMax));
    if (max < kRangeMaxLow || max > kRangeMaxHigh) {
      p.stop(kRangeIncorrectStatus);
      return;
    }
    SendStep& f5 = p.command(label, pair(0xF5, 2 * max));
    f5.progressAfterSend = 45;
    f5.progressAfterReceive = 55;
    SendStep& f6 = p.command(label, pair(0xF6, max >> 7));
    f6.progressAfterSend = 60;
    f6.progressAfterReceive = 68;
    p.wait(50, 74);
    p.wait(50);
    return;
  }
  if (!s.flags.RangeResetPending) return;
  p.command(label, pair(0xF3, 2 * kRangeResetMin));
  p.command(label, pair(0xF4, kRangeResetMin >> 7));
  p.command(label, pair(0xF5, 2 * kRangeResetMax));
  p.command(label, pair(0xF6, kRangeResetMax >> 7));
  p.wait(100);
  p.clearRangeReset();
}

}  // namespace

std::string failureStatus(const SendStep& step) { return step.label + " SETTINGS FAILED"; }

std::vector<SendStep> cp210xSendPlan(const DialogState& s, uint8_t rawHardwareByte) {
  Plan p;
  p.status("SENDING SETTINGS...", 0);

  p.command("PROPELLER HOLD", radioCode(s, ctl::PropHoldDisabled, 0xA0, ctl::PropHoldEnabled, 0xA1))
      .progressAfterReceive = 20;
  p.command("STARTUP POWER", codeOf(s, ctl::StartupPower, {0xC0, 0xC1})).progressAfterReceive = 28;
  p.command("MOTOR EDITION", codeOf(s, ctl::MotorEdition, std::span<const uint8_t>(kCp210xMotorCodes)));
  // An unselected rate sends nothing: entry + 1 would be 0, a rate the ESC does not have.
  const int rate = s.selection(ctl::Acceleration);
  p.command("ACCELERATION RATE", rate >= 0 ? pair(0xF7, rate + 1) : std::vector<uint8_t>{});
  p.command("DRIVE FREQUENCY", codeOf(s, ctl::DriveFrequency, {0x72, 0x71, 0x70})).progressAfterReceive = 30;
  p.command("VOLTAGE CUTOFF", codeOf(s, ctl::CutoffLevel, {0x37, 0x39, 0x3B, 0x3D})).progressAfterReceive = 33;
  p.command("VOLTAGE CUTOFF", radioCode(s, ctl::CutoffOn, 0x41, ctl::CutoffOff, 0x42));
  p.command("ADVANCE TIMING", codeOf(s, ctl::AdvanceTiming, {0x61, 0x63}));
  p.command("REVERSE ROTATION", radioCode(s, ctl::DirectionReverse, 0x81, ctl::DirectionForward, 0x80));

  SendStep& sr = p.command("S.R.B ACTIVATION", {});
  if (s.checked(ctl::SyncRectDisabled)) {
    sr.bytes = {0xB0};
    sr.enable = ControlEnable{ctl::SrBraking, false};
  } else if (s.checked(ctl::SyncRectEnabled)) {
    // No braking entry: the first, as the block send does.
    const int braking = s.selection(ctl::SrBraking);
    sr.bytes = {static_cast<uint8_t>(0xB1 + (braking >= 0 && braking <= 2 ? braking : 0))};
    sr.enable = ControlEnable{ctl::SrBraking, true};
  }
  sr.progressAfterReceive = 35;

  p.command("ARMING TONES", codeOf(s, ctl::ArmingTones, {0xE0, 0xE1, 0xE2}));
  p.command("THL CAB", codeOf(s, ctl::CalibrationMode, {0xF0, 0xF1, 0xF2})).progressAfterReceive = 36;

  const size_t beforeRange = p.steps.size();
  addRangeSteps(p, s);
  if (p.steps.size() > beforeRange && p.steps.back().op == SendOp::Stop) return p.steps;

  static constexpr uint8_t kOverloadCodes[] = {118, 117, 119};
  const auto overload = codeOf(s, ctl::Overload, kOverloadCodes);
  SendStep& ov = p.command("OVERLOAD PROTECTION", overload.empty() ? overload : pair(0xF9, overload[0]), false);
  ov.progressBefore = 80;
  ov.progressAfterReceive = 85;
  p.wait(50);
  p.wait(50);
  const auto stall = radioCode(s, ctl::StallEnabled, 124, ctl::StallDisabled, 123);
  p.command("STALL PROTECTION", stall.empty() ? stall : pair(0xF9, stall[0]), false).progressBefore = 95;

  if (rawHardwareByte != 10 && rawHardwareByte != 12)
    p.command("LOAD", codeOf(s, ctl::Adapter, {0xE5, 0xE6, 0xE7}));

  p.status("SETTINGS UPDATED", 100);
  return p.steps;
}

std::optional<Message> j7qxRefusal(const DialogState& s, uint8_t rawHardwareByte) {
  if (rawHardwareByte != 12 || s.selectedText(ctl::DriveFrequency) != "PRECISION") return std::nullopt;
  return Message{"Error", MsgIcon::None, MsgButtons::Ok, "The J7QX does not support (Precision) Drive Frequency"};
}

}  // namespace orx
