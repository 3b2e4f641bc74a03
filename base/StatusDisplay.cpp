#include "base/StatusDisplay.h"

#include "base/ControlIds.h"

namespace orx {

const char* HelpTextFor(bool adapterGreen, bool deviceGreen) {
  return adapterGreen && deviceGreen ? kHelpTextB : kHelpTextA;
}

void ShowConnectionStatus(DialogState& s, bool adapterGreen, bool deviceGreen) {
  s.setChecked(ctl::AdapterIndicator, adapterGreen);
  s.setChecked(ctl::DeviceIndicator, deviceGreen);
  s.setText(ctl::HelpText, HelpTextFor(adapterGreen, deviceGreen));
}

}  // namespace orx
