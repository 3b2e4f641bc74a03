// The web addresses of the help window's three links. The maker's real pages
// are still to be filled in; until then they point at reserved example
// addresses, so a click never lands on somebody else's site.
#pragma once

namespace orx::helplinks {

inline constexpr const char* kEscSeries = "https://www.example.com/orx/electronic-speed-controllers";
inline constexpr const char* kMotorSeries = "https://www.example.com/orx/brushless-motors";
inline constexpr const char* kDeviceManager = "https://www.example.com/orx/device-manager";

}  // namespace orx::helplinks
