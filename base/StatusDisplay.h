// What the adapter and device squares and the help text show. The squares are
// controls 1045 and 1046 of the controls model, `checked` meaning green, so the
// link worker can set them inside its own update like any other control.
#pragma once

#include "base/DialogState.h"

namespace orx {

inline constexpr const char* kHelpTextA =
    "Connect the (USB) Adapter to PC using supplied cables. [ADAPTER STATUS] icon will change from "
    "red to green. Connect the (USB) Adapter to the ESC - verifying correct orientation of plugs. "
    "The \n(USB) Adapter will automatically apply power to the ESC.";
inline constexpr const char* kHelpTextB =
    "Device is properly connected and firmware can be updated. Press the [SEND SETTINGS] button to "
    "save changes to the Device when Advanced Settings are modified. Press the [DEFAULT SETTINGS] "
    "button to save factory preset settings.";

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};

inline Rgb IndicatorColour(bool green) { return green ? kGreen : kRed; }

// Text B only when an adapter is open and an ESC answers.
const char* HelpTextFor(bool adapterGreen, bool deviceGreen);

// Sets both squares and the help text that goes with them.
void ShowConnectionStatus(DialogState& s, bool adapterGreen, bool deviceGreen);

}  // namespace orx
