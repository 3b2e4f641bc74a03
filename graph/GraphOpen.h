// Whether the data log window may open for the ESC that is attached.
#pragma once

#include <optional>
#include <string_view>

#include "base/Messages.h"

namespace orx::graph {

// The refusal box for an ESC without a data log (firmware "A", "B" or "C"
// family); nothing when the window may open.
std::optional<Message> graphRefusal(std::string_view firmwareVersion);

}  // namespace orx::graph
