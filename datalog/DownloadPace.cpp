#include "datalog/DownloadPace.h"

#include <cmath>

#include "base/Format.h"
#include "datalog/LogDownload.h"
#include "datalog/LogLayout.h"
#include "datalog/NumberText.h"

namespace orx::datalog {

std::string progressTextWithPace(double percent, double seconds) {
  std::string text = progressText(percent);
  const double bytes = percent / 100 * kLogCapacity;
  if (!(seconds > 0) || bytes < kPacePages * kPageSize || percent >= 100) return text;
  const double perSecond = bytes / seconds;
  const int left = static_cast<int>(std::ceil((kLogCapacity - bytes) / perSecond));
  text += " - ";
  appendFixed(text, perSecond / 1024, 1);  // the user's locale takes no part
  text += " KB/s - ";
  text += left < 60 ? strprintf("%d s left", left) : strprintf("%d min %d s left", left / 60, left % 60);
  return text;
}

}  // namespace orx::datalog
