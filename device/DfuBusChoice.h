// The DFU bus of the program: the simulated boot loader named by
// ORX_VIRTUAL_DFU when that is set (read once, at start), else USB.
#pragma once

#include <memory>

#include "firmware/UsbTransport.h"

namespace orx {

std::unique_ptr<DfuBus> MakeDfuBus();

}  // namespace orx
