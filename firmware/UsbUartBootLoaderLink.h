// The transfer's link on the real CP210x adapter: the UsbUart of the links
// the worker owns. Acknowledgements go through the generic receive, so they
// also land in ReplyBuffer as everywhere else.
//
// Threading: link worker thread only, like the links themselves.
#pragma once

#include "firmware/BootLoaderLink.h"
#include "link/EscLinks.h"

namespace orx {

class UsbUartBootLoaderLink : public BootLoaderLink {
 public:
  explicit UsbUartBootLoaderLink(EscLinks& links) : links_(links) {}

  bool sendByte(uint8_t b) override;
  ReplyResult receiveReply(int n, int ms) override;
  uint8_t replyByte() const override;
  bool writeEchoed(const uint8_t* data, size_t n) override;
  void purge() override;
  void busyWait(int ms) override;
  bool stopRequested() const override { return links_.stopRequested(); }

 private:
  EscLinks& links_;
};

}  // namespace orx
