// The COM ports on which scripts/ci-windows.sh puts its simulated ESCs.
#pragma once

#include <string>

namespace orx::test {

// "\\.\COMn" from the environment variable `name` (e.g. ORX_WINE_NVQ_PORT=COM6);
// empty, and the calling test failed, when the variable is not set.
std::string peerPort(const char* name);

inline const char* kCp210xPeer = "ORX_WINE_CP210X_PORT";  // CP210x ESC at 9600, echoing line
inline const char* kNvqPeer = "ORX_WINE_NVQ_PORT";        // NVQ series ESC, "D.01.03.05"
inline const char* kVanishPeer = "ORX_WINE_VANISH_PORT";  // NVQ series ESC that vanishes on a ping

}  // namespace orx::test
