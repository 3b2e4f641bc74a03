// Everything the program knows about the ESC side between two jobs: both links,
// the kept settings block, and the monitor's and flows' flags.
//
// Threading: owned by the link worker and touched on its thread only. The
// window learns what it needs through SessionView snapshots (app/).
#pragma once

#include <string>

#include "link/EscLinks.h"
#include "protocol/EscSettings.h"

namespace orx {

struct DeviceSession {
  explicit DeviceSession(const PortOpener& opener = systemPortOpener()) : links(opener) {}
  DeviceSession(PortOpener cp210xOpener, PortOpener stm32Opener)
      : links(std::move(cp210xOpener), std::move(stm32Opener)) {}

  EscLinks links;
  EscSettings kept;

  // Monitor
  int OpenAttempt = 0;
  bool StmLinkOpened = false;
  int SilenceCount = 0;
  bool SkipAutoRead = false;
  // An NVQ series ESC waits in DFU mode for UPDATE FIRMWARE (REPAIR MODE):
  // its serial port is gone, yet the adapter square stays green.
  bool DfuWaiting = false;
  // The CP210x ESC answered from its boot loader; it stays there until
  // switched off and on again.
  bool Cp210xInBootLoader = false;

  // Flows
  bool DefaultsRequested = false;
  bool DefaultsAfterUpdate = false;
  // The factory defaults that follow an update were not confirmed: the next
  // completed read ends with "DEFAULT SETTINGS FAILED" instead of its usual text.
  bool DefaultsRefused = false;
  int DefaultsAfterUpdateRefusals = 0;  // reads that asked for them in vain
  int SilentIdentifyReads = 0;          // reads in a row whose Identify got no answer
  int hardwareCode = 0;  // from the last Identify; firmware files are checked against it
  // Byte 2 of the last CP210x Identify reply (the J7QX is 12). Kept here
  // because later exchanges reuse ReplyBuffer, where it came in.
  uint8_t rawHardwareByte = 0;

  bool adapterOpen() const { return links.cp210x.AdapterState == 2 || links.stm32.AdapterState == 2; }
  bool deviceAnswering() const { return links.cp210x.DeviceState == 2 || links.stm32.DeviceState == 2; }
  // The active link is the STM32 link and its ESC answers.
  bool nvqAnswering() const { return links.ActiveLink == EscLinks::kStm32 && links.stm32.DeviceState == 2; }
};

}  // namespace orx
