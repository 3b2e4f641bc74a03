// The older ESC behind the CP210x adapter. The adapter drives a single wire,
// so every byte the program writes comes straight back as an echo; the ESC
// itself answers only when the line runs at its own baud.
#pragma once

#include <array>
#include <cstdint>

#include "tools/Cp210xSettings.h"
#include "tools/EscModel.h"
#include "tools/SerialBootLoader.h"

namespace orx::sim {

struct Cp210xConfig {
  std::uint8_t hardware = 0x0A;                     // Identify byte 2
  std::array<std::uint8_t, 3> version{0x01, 0x07, 12};  // Identify bytes 3..5: "A.01.07.12"
  unsigned baud = 9600;                             // the only rate the ESC hears
  bool overloadMarker = true;                       // its dump carries 0xF8, 5 and the overload level
  bool applicationMissing = false;                  // powers up in the boot loader
  // Protection records as read by 0xD8: over voltage, stall, low voltage
  // cutoff, overload, over temperature; 0xAA = has tripped.
  std::array<std::uint8_t, 5> protections{0x00, 0xAA, 0x00, 0x00, 0x00};
  Cp210xSettings factory;
};

class Cp210xEsc final : public EscModel {
 public:
  enum class Mode { Application, BootLoader };

  explicit Cp210xEsc(const Cp210xConfig& config = {});

  void onByte(std::uint8_t byte, unsigned lineBaud, Clock::time_point now, Output& out) override;
  void onIdle(Clock::time_point now) override;
  StateMap saveState() const override;
  bool loadState(const StateMap& state, std::string& error) override;

  const Cp210xConfig& config() const { return config_; }
  void setBaud(unsigned baud) { config_.baud = baud; }
  void setIdentity(std::uint8_t hardware, std::array<std::uint8_t, 3> version);
  void setOverloadMarker(bool on) { config_.overloadMarker = on; }
  // Without the ESC on the wire only the adapter's echo remains.
  void setEscConnected(bool connected) { connected_ = connected; }

  const Cp210xSettings& settings() const { return settings_; }
  void setSettings(const Cp210xSettings& settings);
  Bytes dump() const { return settingsDump(settings_, config_.overloadMarker); }

  const std::array<std::uint8_t, 5>& protections() const { return protections_; }
  void setProtections(const std::array<std::uint8_t, 5>& protections);

  Mode mode() const { return mode_; }
  SerialBootLoader::Step bootStep() const { return loader_.step(); }
  // The ESC restarts: into the application when it has one.
  void powerCycle();
  // The last image a transfer completed with (empty before any).
  const Bytes& firmwareImage() const { return firmware_; }
  // What the boot loader took in so far during a transfer.
  const Bytes& bootLoaderReceived() const { return loader_.received(); }

 private:
  void application(std::uint8_t byte, Clock::time_point now, Output& out);
  void finishTransfer();
  void enterBootLoader();

  Cp210xConfig config_;
  Cp210xSettings settings_;
  std::array<std::uint8_t, 5> protections_;
  Mode mode_ = Mode::Application;
  bool hasApplication_ = true;
  bool connected_ = true;
  SerialBootLoader loader_;
  Bytes firmware_;
  std::uint8_t pairCode_ = 0;  // first byte of a two-byte setting, 0 when none
  Clock::time_point lastByte_{};
};

}  // namespace orx::sim
