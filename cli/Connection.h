// Finding the adapters, and one ESC behind one of them driven by the same
// device manager as the window's.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/SharedControls.h"
#include "cli/TerminalFrontEnd.h"
#include "device/DeviceManager.h"

namespace orx::cli {

enum class LinkKind { Cp210x, Nvq };

struct Adapter {
  LinkKind kind = LinkKind::Nvq;
  std::string path;
  std::string usbId;  // "VID_0483&PID_5740"
};

// Every adapter present: virtual ports first, then the USB ttys, each path once.
std::vector<Adapter> findAdapters();

// "nvq" or "cp210x".
const char* kindName(LinkKind kind);

class Connection {
 public:
  // Without an adapter no serial port is opened: only a DFU boot loader can be reached.
  Connection(const std::optional<Adapter>& adapter, TerminalFrontEnd& frontEnd);
  ~Connection();

  // Waits until the ESC answers and its first settings read has run. False
  // when it does not within `limit`, or at once when the port cannot be
  // opened; `failure()` then says why.
  bool waitForEsc(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // The program's text for a port that could not be opened, or the box
  // text for no adapter / no answering ESC (Windows-1252).
  std::string failure() const;

  DeviceManager& manager() { return manager_; }
  SharedControls& controls() { return controls_; }
  std::string text(int control) const;
  // Waits until every job posted so far has run.
  void settle();

 private:
  SharedControls controls_;
  struct PortFailure {
    std::mutex mutex;
    std::string text;  // set by the worker's open attempts
  };
  std::shared_ptr<PortFailure> portFailure_;
  DeviceManager manager_;
};

}  // namespace orx::cli
