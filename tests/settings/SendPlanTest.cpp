#include <gtest/gtest.h>

#include "protocol/Cp210xSendPlan.h"
#include "protocol/SettingsDumpCodec.h"
#include "SettingsFixture.h"

using namespace orx;
using namespace orx::test;
using Bytes = std::vector<uint8_t>;

namespace {

// Controls after a CP210x read: MOTOR-04, RANGE 1100..1940, overload STANDARD.
DialogState cp210xControls() {
  DialogState s = windowAfterStart();
  prepareCp210xRead(s);
  decodeSettingsDump(s, std::vector<uint8_t>{
      0xA1, 0x00, 0x11, 0x3B, 0x41, 0x00, 0x63, 0x70, 0x81, 0x00, 0xC1, 0xB2, 0xE2, 0xF2, 0x00, 0xF3,
      152,  0xF4, 8,    0xF5, 40,   0xF6, 15,   0xF7, 0x23, 0xF8, 5,    0xF9, 117,  124,  0xE6});
  return s;
}

std::vector<Bytes> sentBytes(const std::vector<SendStep>& plan) {
  std::vector<Bytes> out;
  for (const auto& st : plan)
    if (st.op == SendOp::Command && !st.bytes.empty()) out.push_back(st.bytes);
  return out;
}

const SendStep* findLabel(const std::vector<SendStep>& plan, const std::string& label) {
  for (const auto& st : plan)
    if (st.op == SendOp::Command && st.label == label) return &st;
  return nullptr;
}

}  // namespace

TEST(Cp210xSendPlan, SendsEverySettingInOrderWithItsProgress) {
  const auto plan = cp210xSendPlan(cp210xControls(), 13);
  const std::vector<Bytes> expected{
      {0xA1}, {0xC1}, {0x11}, {0xF7, 3}, {0x70}, {0x3B}, {0x41}, {0x63}, {0x81}, {0xB2}, {0xE2}, {0xF2},
      {0xF3, 152}, {0xF4, 8}, {0xF5, 40}, {0xF6, 15}, {0xF9, 117}, {0xF9, 124}, {0xE6}};
  EXPECT_EQ(sentBytes(plan), expected);

  ASSERT_FALSE(plan.empty());
  EXPECT_EQ(plan.front().op, SendOp::Status);
  EXPECT_EQ(plan.front().status, "SENDING SETTINGS...");
  EXPECT_EQ(plan.front().progressBefore, 0);
  EXPECT_EQ(plan.back().status, "SETTINGS UPDATED");
  EXPECT_EQ(plan.back().progressBefore, 100);

  // Progress in the order the steps reach it, none going back.
  std::vector<int> progress;
  for (const auto& st : plan)
    for (int p : {st.progressBefore, st.progressAfterSend, st.progressAfterReceive})
      if (p >= 0) progress.push_back(p);
  EXPECT_EQ(progress, (std::vector<int>{0, 20, 28, 30, 33, 35, 36, 42, 45, 55, 60, 68, 74, 80, 85, 95, 100}));

  // Only overload and stall may go unacknowledged.
  for (const auto& st : plan) {
    if (st.op != SendOp::Command) continue;
    const bool optional = st.bytes.size() == 2 && st.bytes[0] == 0xF9;
    EXPECT_EQ(st.ackRequired, !optional) << st.label;
  }
  EXPECT_EQ(failureStatus(*findLabel(plan, "MOTOR EDITION")), "MOTOR EDITION SETTINGS FAILED");
  EXPECT_EQ(failureStatus(*findLabel(plan, "S.R.B ACTIVATION")), "S.R.B ACTIVATION SETTINGS FAILED");

  // Overload and stall are separated by two 50 ms waits.
  int waits = 0;
  bool afterOverload = false;
  for (const auto& st : plan) {
    if (st.op == SendOp::Command && st.bytes == Bytes{0xF9, 117}) afterOverload = true;
    else if (afterOverload && st.op == SendOp::BusyWait && st.waitMs == 50) ++waits;
    else if (st.op == SendOp::Command && st.bytes == Bytes{0xF9, 124}) break;
  }
  EXPECT_EQ(waits, 2);
}

TEST(Cp210xSendPlan, LoadIsSkippedForHardwareBytes10And12) {
  const DialogState s = cp210xControls();
  EXPECT_EQ(findLabel(cp210xSendPlan(s, 10), "LOAD"), nullptr);
  EXPECT_EQ(findLabel(cp210xSendPlan(s, 12), "LOAD"), nullptr);
  ASSERT_NE(findLabel(cp210xSendPlan(s, 11), "LOAD"), nullptr);
  EXPECT_EQ(cp210xSendPlan(s, 10).back().status, "SETTINGS UPDATED");
}

TEST(Cp210xSendPlan, RangeOutsideItsLimitsStopsTheSend) {
  DialogState s = cp210xControls();
  s.setText(ctl::RangeMin, "700");
  auto plan = cp210xSendPlan(s, 13);
  EXPECT_EQ(plan.back().op, SendOp::Stop);
  EXPECT_EQ(plan.back().status, "CALIBRATION RANGE INCORRECT");
  EXPECT_EQ(sentBytes(plan).back(), Bytes{0xF2});  // nothing of the range went out

  s.setText(ctl::RangeMin, "1000");
  s.setText(ctl::RangeMax, "2300");
  plan = cp210xSendPlan(s, 13);
  EXPECT_EQ(plan.back().op, SendOp::Stop);
  const auto sent = sentBytes(plan);
  // 1000 us: twice is 2000 = 0x07D0, the minimum's frames go out before the maximum is checked.
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[sent.size() - 2], (Bytes{0xF3, 0xD0}));
  EXPECT_EQ(sent.back(), (Bytes{0xF4, 7}));
}

TEST(Cp210xSendPlan, RangeResetOnlyWhenPendingOutsideRangeMode) {
  DialogState s = cp210xControls();
  s.select(ctl::CalibrationMode, 0);
  auto plan = cp210xSendPlan(s, 13);
  for (const auto& b : sentBytes(plan)) EXPECT_FALSE(b.size() == 2 && b[0] >= 0xF3 && b[0] <= 0xF6);

  s.flags.RangeResetPending = true;
  plan = cp210xSendPlan(s, 13);
  std::vector<Bytes> range;
  for (const auto& b : sentBytes(plan))
    if (b.size() == 2 && b[0] >= 0xF3 && b[0] <= 0xF6) range.push_back(b);
  EXPECT_EQ(range, (std::vector<Bytes>{{0xF3, 152}, {0xF4, 8}, {0xF5, 40}, {0xF6, 15}}));
  // The flag is cleared by a step after the frames and the 100 ms wait, never by planning.
  EXPECT_TRUE(s.flags.RangeResetPending);
  size_t clear = 0, lastRange = 0, wait100 = 0;
  for (size_t i = 0; i < plan.size(); ++i) {
    if (plan[i].op == SendOp::ClearRangeReset) clear = i;
    if (plan[i].op == SendOp::Command && plan[i].bytes.size() == 2 && plan[i].bytes[0] == 0xF6) lastRange = i;
    if (plan[i].op == SendOp::BusyWait && plan[i].waitMs == 100) wait100 = i;
  }
  EXPECT_LT(lastRange, wait100);
  EXPECT_LT(wait100, clear);
  for (const auto& st : plan)
    if (st.op == SendOp::Command && st.label == "THL CAB R") {
      EXPECT_TRUE(st.ackRequired);
    }
}

TEST(Cp210xSendPlan, RadioPairsListsWithoutSelectionAndTheBrakingList) {
  DialogState s = cp210xControls();
  s.setChecked(ctl::PropHoldDisabled, true);
  s.setChecked(ctl::CutoffOn, false);
  s.setChecked(ctl::CutoffOff, true);
  s.setChecked(ctl::DirectionReverse, false);
  s.setChecked(ctl::DirectionForward, true);
  s.setChecked(ctl::SyncRectEnabled, false);
  s.setChecked(ctl::SyncRectDisabled, true);
  s.setChecked(ctl::StallEnabled, false);
  s.setChecked(ctl::StallDisabled, true);
  s.select(ctl::StartupPower, -1);
  s.select(ctl::Acceleration, -1);
  auto plan = cp210xSendPlan(s, 13);
  EXPECT_EQ(findLabel(plan, "PROPELLER HOLD")->bytes, Bytes{0xA0});
  EXPECT_TRUE(findLabel(plan, "STARTUP POWER")->bytes.empty());
  EXPECT_EQ(findLabel(plan, "STARTUP POWER")->progressAfterReceive, 28);
  EXPECT_TRUE(findLabel(plan, "ACCELERATION RATE")->bytes.empty());
  EXPECT_EQ(findLabel(plan, "REVERSE ROTATION")->bytes, Bytes{0x80});
  const SendStep* sr = findLabel(plan, "S.R.B ACTIVATION");
  EXPECT_EQ(sr->bytes, Bytes{0xB0});
  EXPECT_EQ(sr->enable, (ControlEnable{ctl::SrBraking, false}));
  EXPECT_EQ(findLabel(plan, "STALL PROTECTION")->bytes, (Bytes{0xF9, 123}));
  bool cutoffOff = false;
  for (const auto& b : sentBytes(plan)) cutoffOff |= b == Bytes{0x42};
  EXPECT_TRUE(cutoffOff);

  s.setChecked(ctl::SyncRectDisabled, false);
  s.setChecked(ctl::SyncRectEnabled, true);
  s.select(ctl::SrBraking, 2);
  sr = findLabel(plan = cp210xSendPlan(s, 13), "S.R.B ACTIVATION");
  EXPECT_EQ(sr->bytes, Bytes{0xB3});
  EXPECT_EQ(sr->enable, (ControlEnable{ctl::SrBraking, true}));
}

TEST(Cp210xSendPlan, EveryMotorEditionHasItsCode) {
  DialogState s = cp210xControls();
  const Bytes codes{0x10, 0x17, 0x18, 0x19, 0x11, 0x12, 0x13, 0x14, 0x16, 0x15};
  for (int entry = 0; entry < 10; ++entry) {
    s.select(ctl::MotorEdition, entry);
    EXPECT_EQ(findLabel(cp210xSendPlan(s, 13), "MOTOR EDITION")->bytes, Bytes{codes[static_cast<size_t>(entry)]});
  }
}

TEST(Cp210xSendPlan, J7qxRefusesPrecisionDriveFrequencyOnly) {
  DialogState s = cp210xControls();
  s.selectText(ctl::DriveFrequency, "PRECISION");
  auto box = j7qxRefusal(s, 12);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Error");
  EXPECT_EQ(box->icon, MsgIcon::None);
  EXPECT_EQ(box->text, "The J7QX does not support (Precision) Drive Frequency");
  EXPECT_FALSE(j7qxRefusal(s, 13).has_value());
  s.selectText(ctl::DriveFrequency, "DYNAMIC");
  EXPECT_FALSE(j7qxRefusal(s, 12).has_value());
}
