#include "tools/Cp210xEsc.h"

#include <algorithm>

namespace orx::sim {

namespace {

// The value byte of a two-byte setting must follow promptly.
constexpr auto kPairGap = std::chrono::milliseconds(300);

}  // namespace

Cp210xEsc::Cp210xEsc(const Cp210xConfig& config)
    : config_(config), settings_(config.factory), protections_(config.protections) {
  hasApplication_ = !config.applicationMissing;
  if (!hasApplication_) enterBootLoader();
}

void Cp210xEsc::setIdentity(std::uint8_t hardware, std::array<std::uint8_t, 3> version) {
  config_.hardware = hardware;
  config_.version = version;
}

void Cp210xEsc::setSettings(const Cp210xSettings& settings) {
  settings_ = settings;
  markDirty();
}

void Cp210xEsc::setProtections(const std::array<std::uint8_t, 5>& protections) {
  protections_ = protections;
  markDirty();
}

void Cp210xEsc::powerCycle() {
  pairCode_ = 0;
  if (hasApplication_) {
    mode_ = Mode::Application;
  } else {
    enterBootLoader();
  }
}

void Cp210xEsc::enterBootLoader() {
  mode_ = Mode::BootLoader;
  pairCode_ = 0;
  loader_.restart();
}

void Cp210xEsc::finishTransfer() {
  firmware_ = loader_.received();
  hasApplication_ = true;
  mode_ = Mode::Application;
  loader_.restart();
  markDirty();
}

void Cp210xEsc::onByte(std::uint8_t byte, unsigned lineBaud, Clock::time_point now, Output& out) {
  out.bytes.push_back(byte);  // the adapter's echo, whatever the ESC makes of it
  if (!connected_ || lineBaud != config_.baud) return;  // at another rate the ESC hears noise

  if (mode_ == Mode::BootLoader) {
    if (loader_.onByte(byte, now, faults_, out) == SerialBootLoader::Event::None) return;
    finishTransfer();  // that byte was already for the new application
  }
  application(byte, now, out);
}

void Cp210xEsc::onIdle(Clock::time_point now) {
  if (mode_ == Mode::BootLoader && loader_.onIdle(now) == SerialBootLoader::Event::Finished) finishTransfer();
  if (pairCode_ != 0 && now - lastByte_ > kPairGap) pairCode_ = 0;
}

void Cp210xEsc::application(std::uint8_t byte, Clock::time_point now, Output& out) {
  if (pairCode_ != 0 && now - lastByte_ > kPairGap) pairCode_ = 0;
  lastByte_ = now;
  if (pairCode_ != 0) {
    applyPair(settings_, pairCode_, byte);
    pairCode_ = 0;
    markDirty();
    faults_.reply(Command::SetValuePair, {1}, out);
    return;
  }
  if (isPairCode(byte)) {
    pairCode_ = byte;
    return;
  }
  if (isSettingCode(byte)) {
    applySetting(settings_, byte);
    markDirty();
    faults_.reply(Command::SetValue, {1}, out);
    return;
  }
  switch (byte) {
    case 0xD4:
      faults_.reply(Command::Ping, {0xD5, config_.hardware}, out);
      return;
    case 0xD7:
      faults_.reply(Command::Identify,
                    {0xD7, 0x07, config_.hardware, config_.version[0], config_.version[1], config_.version[2], 0x00},
                    out);
      return;
    case 0x02:
      faults_.reply(Command::DumpSettings, dump(), out);
      return;
    case 0xDE:
      settings_ = config_.factory;
      markDirty();
      faults_.reply(Command::RestoreDefaults, {1}, out);
      return;
    case 0xD6:
      // The application restarts into the boot loader without a word; the
      // loader answers the next 0xD6.
      faults_.reply(Command::BootRequest, {}, out);
      enterBootLoader();
      return;
    case 0xD8:
      faults_.reply(Command::ReadProtections, Bytes(protections_.begin(), protections_.end()), out);
      return;
    case 0xD9:
      protections_.fill(0x00);
      markDirty();
      faults_.reply(Command::ClearProtections, {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}, out);
      return;
    default:
      return;  // not a command of this ESC
  }
}

StateMap Cp210xEsc::saveState() const {
  return {{"kind", "cp210x"},
          {"settings", toHex(toBytes(settings_))},
          {"protections", toHex(Bytes(protections_.begin(), protections_.end()))},
          {"application", hasApplication_ ? "1" : "0"},
          {"firmware", toHex(firmware_)}};
}

bool Cp210xEsc::loadState(const StateMap& state, std::string& error) {
  const auto kind = state.find("kind");
  if (kind == state.end() || kind->second != "cp210x") {
    error = "not the state of a CP210x-connected ESC";
    return false;
  }
  Bytes settingsBytes;
  Bytes protections;
  Bytes firmware;
  unsigned long application = 0;
  Cp210xSettings settings;
  if (!stateBytes(state, "settings", settingsBytes, error) || !stateBytes(state, "protections", protections, error) ||
      !stateBytes(state, "firmware", firmware, error) || !stateNumber(state, "application", 1, application, error)) {
    return false;
  }
  if (!fromBytes(settingsBytes, settings) || protections.size() != protections_.size()) {
    error = "settings or protections of the wrong size";
    return false;
  }
  settings_ = settings;
  std::copy(protections.begin(), protections.end(), protections_.begin());
  firmware_ = std::move(firmware);
  hasApplication_ = application == 1;
  powerCycle();
  return true;
}

}  // namespace orx::sim
