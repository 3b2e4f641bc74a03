#include "firmware/SessionUpdateHooks.h"

#include "firmware/UsbUartBootLoaderLink.h"
#include "protocol/DefaultsFlow.h"

namespace orx {

bool SessionUpdateHooks::deviceReady() { return session_.adapterOpen() && session_.deviceAnswering(); }

void SessionUpdateHooks::setSkipAutoRead() { session_.SkipAutoRead = true; }

void SessionUpdateHooks::closeSerialLink() {
  session_.links.cp210x.Close();
  host_.indicatorsChanged();
}

void SessionUpdateHooks::defaultsAfterUpdate() { runDefaultsAfterUpdate(session_, host_); }

void SessionUpdateHooks::restartMonitor(int ms) { host_.restartMonitor(ms); }

SerialUpdateResult UpdateFirmwareSerial(DeviceSession& session, FlowHost& host, FileChooser& files) {
  SessionUpdateHooks hooks(session, host);
  UsbUartBootLoaderLink link(session.links);
  return UpdateFirmwareSerial(
      SerialUpdateContext{host.controls(), host.prompter(), files, link, hooks, session.hardwareCode});
}

}  // namespace orx
