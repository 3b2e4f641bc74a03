// A graph window with recording stand-ins for the ESC side, the message
// boxes and the file dialogs, and a generated flight log to show in it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "base/Messages.h"
#include "graph/DataLogSource.h"
#include "graph/Graph.h"
#include "graph/GraphIds.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/RecordingPrompter.h"
#include "tools/LogGenerator.h"

namespace orx::test {

// The records of a generated log, as the download delivers them (the bytes
// before the end marker).
inline std::vector<std::uint8_t> generatedRecords(std::size_t bytes = 22000, unsigned sessions = 4) {
  sim::LogFill fill;
  fill.bytes = bytes;
  fill.sessions = sessions;
  const sim::Bytes memory = sim::generateLog(fill);
  return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(bytes)};
}

// Plays the link worker: a download reports progress page by page and
// delivers from a thread of its own.
struct FakeSource : graph::DataLogSource {
  std::vector<std::uint8_t> log = generatedRecords();
  std::atomic<int> downloads{0};
  std::atomic<int> clears{0};
  std::string firmware = "NVQ1.0";
  std::thread worker;

  ~FakeSource() override {
    if (worker.joinable()) worker.join();
  }
  void requestDownload(std::shared_ptr<LogSink> inbox) override {
    ++downloads;
    if (worker.joinable()) worker.join();
    worker = std::thread([inbox, bytes = log] {
      const std::size_t pages = (bytes.size() + 252) / 253;
      for (std::size_t p = 1; p <= pages; ++p)
        inbox->progress(static_cast<double>(std::min(bytes.size(), p * 253)) / 64768 * 100);
      inbox->deliver(bytes);
    });
  }
  void requestClear() override { ++clears; }
  std::string firmwareVersion() const override { return firmware; }
};

struct GraphRig {
  GraphRig() : app(qtApp()), window(&source, prompter, files) {
    window.resize(1220, 830);
    window.show();
  }
  // Answers every modal dialog of the window with `answer` instead of a run.
  void onDialog(std::function<int(QDialog&)> answer) { window.execDialog = std::move(answer); }
  void download() {
    const int before = window.sampleCount();
    window.command(graph::gid::kReadButton);
    if (source.worker.joinable()) source.worker.join();
    pumpUntil([&] { return window.sampleCount() != before; }, 3000);
  }

  QApplication& app;
  FakeSource source;
  RecordingPrompter prompter;
  FixedChooser files;
  graph::Graph window;
};

}  // namespace orx::test
