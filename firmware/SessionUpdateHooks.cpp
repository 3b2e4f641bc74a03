#include "firmware/SessionUpdateHooks.h"
#include "firmware/UsbUartBootLoaderLink.h"

namespace orx {

SerialUpdateResult UpdateFirmwareSerial(DeviceSession& session, FlowHost& host, FileChooser& files,
                                        std::function<void()> defaultsAfterUpdate) {
  SessionUpdateHooks hooks(session, host, std::move(defaultsAfterUpdate));
  UsbUartBootLoaderLink link(session.links);
  return UpdateFirmwareSerial(
      SerialUpdateContext{host.controls(), host.prompter(), files, link, hooks, session.hardwareCode});
}

}  // namespace orx
