#include "device/Monitor.h"

#include "base/ControlIds.h"
#include "link/UsbIds.h"
#include "protocol/Cp210xProtocol.h"
#include "protocol/FlowSteps.h"
#include "protocol/FlowTexts.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/SettingsHandlers.h"
#include "protocol/Stm32Protocol.h"

namespace orx {

namespace {

constexpr int kSilentPollsBeforeRed = 6;  // the 7th silent boot poll turns the square red

}  // namespace

void Monitor::tick() {
  EscLinks& links = session_.links;
  const int appeared = appeared_.exchange(-1);
  if (appeared >= 0 && !links.stm32.isOpen() && !links.cp210x.isOpen())
    session_.OpenAttempt = appeared == EscLinks::kStm32 ? 0 : 1;
  if (session_.OpenAttempt < 1) {
    links.ActiveLink = EscLinks::kStm32;
    if (links.stm32.OpenLink(kStm32Id) == 0) {
      session_.DfuWaiting = false;
      stm32Tick();
      session_.StmLinkOpened = true;
    } else {
      const bool wasShown = links.stm32.AdapterState == 2;
      links.stm32.Close();
      // A square that was green must not stay green for a port that went away,
      // unless the ESC behind it waits in DFU mode (the DFU search checks that).
      if (session_.DfuWaiting) {
        links.stm32.AdapterState = 2;
      } else if (wasShown) {
        host_.indicatorsChanged();
      }
      session_.OpenAttempt += 1;
      session_.StmLinkOpened = false;
    }
    return;
  }

  links.ActiveLink = EscLinks::kCp210x;
  if (links.cp210x.OpenLink(kCp210xId) == 0) {
    cp210xTick();
    return;
  }
  const bool wasShown = links.cp210x.AdapterState == 2;
  links.cp210x.Close();
  session_.Cp210xInBootLoader = false;
  if (wasShown) host_.indicatorsChanged();
  session_.OpenAttempt += 1;
  if (session_.OpenAttempt > 2) {
    session_.OpenAttempt = 0;
    if (links.cp210x.AdapterState != 2 && !session_.StmLinkOpened) dfuSearch();
  }
}

void Monitor::stm32Tick() {
  ST32UsbUart& link = session_.links.stm32;
  if (link.AdapterState < 2 && link.isOpen()) {
    link.AdapterState = 2;
    host_.indicatorsChanged();
    return;
  }
  if (link.AdapterState == 2 && !repairModeTicked(host_)) {
    link.clearReceiveBuffer();
    presenceProbe();
  }
  link.CycleTick();
}

void Monitor::presenceProbe() {
  ST32UsbUart& link = session_.links.stm32;
  switch (stm32::Ping(link)) {
    case stm32::PingResult::LinkLost: linkLost(link); return;
    case stm32::PingResult::Answered:
      if (link.DeviceState != 2) {
        // The read turns the square green once the ESC answers its Identify
        // too; shown here, an ESC that never does would blink green each tick.
        link.DeviceState = 2;
        runStm32Read(session_, host_);
      }
      return;
    case stm32::PingResult::Silent: return;  // an answering ESC stays marked as answering
  }
}

void Monitor::cp210xTick() {
  UsbUart& link = session_.links.cp210x;
  if (link.AdapterState < 2 && link.isOpen()) {
    link.AdapterState = 2;
    host_.indicatorsChanged();
    return;
  }
  if (link.AdapterState == 2) {
    if (repairModeTicked(host_)) {
      cp210xBootPoll();
    } else {
      cp210xPing();
    }
  }
  session_.links.CycleTick();
}

void Monitor::cp210xBootPoll() {
  UsbUart& link = session_.links.cp210x;
  switch (cp210x::BootRequest(session_.links)) {
    case cp210x::BootResult::LinkLost: linkLost(link); return;
    case cp210x::BootResult::NoByte:
      if (link.DeviceState != 1 && ++session_.SilenceCount > kSilentPollsBeforeRed) {
        session_.SilenceCount = 0;
        link.DeviceState = 1;
        host_.indicatorsChanged();
        setText(host_, ctl::FirmwareVersion, "");
      }
      return;
    case cp210x::BootResult::BootLoader:
      session_.Cp210xInBootLoader = true;
      if (link.DeviceState != 2) {
        identifyCp210x();
        link.DeviceState = 2;
        host_.indicatorsChanged();
      }
      return;
    case cp210x::BootResult::OtherByte: return;
  }
}

void Monitor::cp210xPing() {
  UsbUart& link = session_.links.cp210x;
  switch (cp210x::Ping(session_.links, cp210x::kMonitorPingMs)) {
    case cp210x::PingResult::LinkLost: linkLost(link); return;
    case cp210x::PingResult::NoReply:
      if (link.DeviceState != 1) {
        link.DeviceState = 1;
        host_.indicatorsChanged();
      }
      host_.controls().update([this](DialogState& s) {
        ResetControls(s);
        // Left in its boot loader by REPAIR MODE, the ESC answers no ping.
        if (session_.Cp210xInBootLoader) s.setText(ctl::StatusLine, flowtext::kPowerCycleToLeaveRepair);
      });
      return;
    case cp210x::PingResult::Answered:
      session_.Cp210xInBootLoader = false;
      if (link.DeviceState != 2 || session_.SkipAutoRead) {
        identifyCp210x();
        host_.indicatorsChanged();
        if (!session_.SkipAutoRead) host_.postSettingsRead();
        session_.SkipAutoRead = false;
        link.DeviceState = 2;
      }
      return;
    case cp210x::PingResult::OtherReply: return;
  }
}

void Monitor::identifyCp210x() {
  const Cp210xIdentity id = cp210x::Identify(session_.links);
  showCp210xIdentity(session_, host_, id);
}

void Monitor::linkLost(SerialLink& link) {
  link.Close();
  if (&link == &session_.links.cp210x) session_.Cp210xInBootLoader = false;
  host_.controls().update([](DialogState& s) { ResetControls(s); });
  host_.indicatorsChanged();
}

void Monitor::dfuSearch() {
  if (!host_.findDfuDevice()) {
    if (session_.DfuWaiting) {
      session_.DfuWaiting = false;
      session_.links.stm32.AdapterState = 0;
      host_.indicatorsChanged();
    }
    return;
  }
  session_.links.stm32.AdapterState = 2;
  host_.indicatorsChanged();
  // With REPAIR MODE ticked the ESC stays in DFU mode for UPDATE FIRMWARE.
  session_.DfuWaiting = repairModeTicked(host_);
  if (session_.DfuWaiting || !host_.readDfuMapping()) return;
  setStatus(host_, "Entering app mode...");
  host_.leaveDfuMode();
  session_.StmLinkOpened = false;
}

}  // namespace orx
