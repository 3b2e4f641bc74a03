// orx-bench: every performance figure of the program beside its reference,
// measured in one run on this machine. Timings are printed, never asserted.
//
//   orx-bench [section ...]      sections: chart cursor files plug serial stall
//   (all when none is named; QT_QPA_PLATFORM=offscreen, or xvfb-run for the
//   cursor figures of a real X server)
#include <QApplication>
#include <cstring>
#include <string>

#include "Bench.h"

using namespace orx::bench;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  auto wanted = [&](const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], name) == 0) return true;
    return false;
  };
  std::printf("orx-bench on platform %s\n", QGuiApplication::platformName().toUtf8().constData());
  bool all = true;
  if (wanted("chart")) all = chartBench(30) && all;
  if (wanted("cursor")) all = cursorBench(400) && all;
  if (wanted("files")) all = fileBench(200) && all;
  if (wanted("serial")) all = serialBench(16384) && all;
  if (wanted("plug")) all = plugBench(20) && all;
  if (wanted("stall")) all = stallBench() && all;
  std::printf("%s\n", all ? "every target met" : "SOME TARGETS MISSED");
  return all ? 0 : 1;
}
