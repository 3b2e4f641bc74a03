#include "cli/Connection.h"

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/ControlIds.h"
#include "cli/Interrupt.h"
#include "base/MainWindowControls.h"
#include "device/PortAccessText.h"
#include "link/PortDiscovery.h"
#include "link/PosixSerialPort.h"
#include "link/UsbIds.h"
#include "link/VirtualPorts.h"
#include "protocol/FlowTexts.h"

namespace orx::cli {
namespace {

struct KnownId {
  LinkKind kind;
  const char* id;
};
constexpr KnownId kIds[] = {{LinkKind::Nvq, kStm32Id}, {LinkKind::Cp210x, kCp210xId}};

}  // namespace

const char* kindName(LinkKind kind) { return kind == LinkKind::Nvq ? "nvq" : "cp210x"; }

std::vector<Adapter> findAdapters() {
  std::vector<Adapter> found;
  auto add = [&found](LinkKind kind, const std::string& path, const char* id) {
    for (const auto& a : found)
      if (a.path == path) return;
    found.push_back({kind, path, id});
  };
  const char* virtualPorts = std::getenv(kVirtualPortsVariable);
  if (virtualPorts != nullptr) {
    for (const auto& [id, path] : parseVirtualPorts(virtualPorts))
      for (const auto& known : kIds)
        if (parseUsbId(id) == parseUsbId(known.id) && std::filesystem::exists(path)) add(known.kind, path, known.id);
  }
  for (const auto& known : kIds)
    for (const auto& name : findUsbTtys("/sys", *parseUsbId(known.id))) add(known.kind, "/dev/" + name, known.id);
  return found;
}

namespace {

// Opens the adapter's path for its own link and nothing for the other one.
// Without an adapter given, the first one of the link's kind found at each
// open: an ESC repaired in its boot loader comes back on a port of its own.
template <class Failure>
PortOpener pathOpener(const std::optional<Adapter>& adapter, LinkKind link, std::shared_ptr<Failure> failure) {
  if (adapter && adapter->kind != link) return [](const std::string&) -> std::unique_ptr<SerialPort> { return nullptr; };
  return [given = adapter, link, failure](const std::string&) -> std::unique_ptr<SerialPort> {
    std::optional<std::string> path;
    if (given) path = given->path;
    for (const Adapter& a : given ? std::vector<Adapter>{} : findAdapters())
      if (!path && a.kind == link) path = a.path;
    if (!path) return nullptr;
    int error = 0;
    auto port = PosixSerialPort::open(*path, &error);
    std::lock_guard lock(failure->mutex);
    failure->text = port ? std::string() : PortAccessText(*path, error).value_or("");
    return port;
  };
}

}  // namespace

Connection::Connection(const std::optional<Adapter>& adapter, TerminalFrontEnd& frontEnd)
    : portFailure_(std::make_shared<PortFailure>()),
      manager_(controls_, frontEnd, frontEnd, pathOpener(adapter, LinkKind::Cp210x, portFailure_),
               pathOpener(adapter, LinkKind::Nvq, portFailure_)) {
  controls_.update([](DialogState& s) { WriteInitialControls(s); });
  frontEnd.watch(controls_);
  manager_.start();
  setInterruptTarget(&manager_);
}

Connection::~Connection() {
  setInterruptTarget(nullptr);
  manager_.stop();
}

bool Connection::waitForEsc(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (manager_.snapshot().deviceAnswering) {
      settle();  // the settings read the monitor posted on finding it
      return true;
    }
    {
      // A port held by another program stays held: refuse at once.
      std::lock_guard lock(portFailure_->mutex);
      if (!portFailure_->text.empty()) return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

std::string Connection::failure() const {
  {
    std::lock_guard lock(portFailure_->mutex);
    if (!portFailure_->text.empty()) return portFailure_->text;
  }
  if (!manager_.snapshot().adapterOpen) return flowtext::adapterConnectionError().text;
  return flowtext::deviceConnectionError().text;
}

std::string Connection::text(int control) const {
  return controls_.read([control](const DialogState& s) { return s.text(control); });
}

void Connection::settle() {
  manager_.runAndWait([](DeviceSession&, FlowHost&) { return 0; });
}

}  // namespace orx::cli
