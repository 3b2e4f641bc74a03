#include "device/DataLogSource.h"

namespace orx {

datalog::DownloadHooks logSinkHooks(LogSink& sink) {
  datalog::DownloadHooks hooks;
  hooks.progress = [&sink](double percent) { sink.progress(percent); };
  hooks.deliver = [&sink](std::span<const std::uint8_t> bytes, datalog::DownloadEnd end) { sink.deliver(bytes, end); };
  hooks.stopRequested = [&sink] { return sink.stopRequested(); };
  return hooks;
}

}  // namespace orx
