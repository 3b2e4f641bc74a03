// The hardware id fragments of the two adapters, as the callers search for them.
#pragma once

namespace orx {

inline constexpr const char* kCp210xId = "VID_10C4&PID_EA60";  // CP210x USB-to-UART adapter
inline constexpr const char* kStm32Id = "VID_0483&PID_5740";   // NVQ series ESC's own port

}  // namespace orx
