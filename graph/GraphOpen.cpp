#include "graph/GraphOpen.h"

#include "datalog/LogDownload.h"
#include "datalog/LogTexts.h"

namespace orx::graph {

std::optional<Message> graphRefusal(std::string_view firmwareVersion) {
  if (datalog::hasDataLog(firmwareVersion)) return std::nullopt;
  return datalog::text::notNvqSeries();
}

}  // namespace orx::graph
