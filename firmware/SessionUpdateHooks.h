// The serial update's hooks over the worker's DeviceSession and FlowHost, and
// the entry the window's UPDATE FIRMWARE job calls on the CP210x link.
//
// Threading: link worker thread only.
#pragma once

#include <functional>

#include "base/FileChooser.h"
#include "firmware/SerialFirmwareUpdate.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

class SessionUpdateHooks : public SerialUpdateHooks {
 public:
  // `defaultsAfterUpdate` runs the factory-default exchange that follows an
  // update and asks for the settings read (it belongs to the settings flows).
  SessionUpdateHooks(DeviceSession& session, FlowHost& host, std::function<void()> defaultsAfterUpdate)
      : session_(session), host_(host), defaults_(std::move(defaultsAfterUpdate)) {}

  bool deviceReady() override { return session_.adapterOpen() && session_.deviceAnswering(); }
  void setSkipAutoRead() override { session_.SkipAutoRead = true; }
  void closeSerialLink() override {
    session_.links.cp210x.Close();
    host_.indicatorsChanged();
  }
  void defaultsAfterUpdate() override {
    if (defaults_) defaults_();
  }
  void restartMonitor(int ms) override { host_.restartMonitor(ms); }

 private:
  DeviceSession& session_;
  FlowHost& host_;
  std::function<void()> defaults_;
};

// UPDATE FIRMWARE with the CP210x link connected, as one worker job.
SerialUpdateResult UpdateFirmwareSerial(DeviceSession& session, FlowHost& host, FileChooser& files,
                                        std::function<void()> defaultsAfterUpdate);

}  // namespace orx
