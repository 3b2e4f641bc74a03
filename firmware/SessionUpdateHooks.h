// The serial update's hooks over the worker's DeviceSession and FlowHost, and
// the entry the window's UPDATE FIRMWARE job calls on the CP210x link.
//
// Threading: link worker thread only.
#pragma once

#include "base/FileChooser.h"
#include "firmware/SerialFirmwareUpdate.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

class SessionUpdateHooks : public SerialUpdateHooks {
 public:
  SessionUpdateHooks(DeviceSession& session, FlowHost& host) : session_(session), host_(host) {}

  bool deviceReady() override;
  void setSkipAutoRead() override;
  void closeSerialLink() override;
  // The factory defaults that follow an update; they post the settings read.
  void defaultsAfterUpdate() override;
  void restartMonitor(int ms) override;

 private:
  DeviceSession& session_;
  FlowHost& host_;
};

// UPDATE FIRMWARE with the CP210x link connected, as one worker job.
SerialUpdateResult UpdateFirmwareSerial(DeviceSession& session, FlowHost& host, FileChooser& files);

}  // namespace orx
