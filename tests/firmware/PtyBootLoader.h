// A small stand-in for an ESC's serial boot loader behind a CP210x adapter,
// on a real pseudo-terminal: echoes every byte like the single-wire line,
// answers 0xD7 with 0xD8 and then 0xD6 with 0xD7, takes length-prefixed blocks
// and acknowledges each with 0x11, keeping the accepted bytes as its flash.
// With a baud set it delivers echo and answers at that line's pace.
//
// Threading: runs its own thread; flash() and blocksSeen() may be called from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orx::test {

class PtyBootLoader {
 public:
  // `baud` 0 answers as fast as the pty goes.
  explicit PtyBootLoader(int baud = 0) : baud_(baud) {}
  ~PtyBootLoader();

  // Answers for attempt k at block i (0-based); a missing entry is 0x11, -1 is silence.
  void setBlockAnswers(int block, std::vector<int> answers) { answers_[block] = std::move(answers); }

  bool start();
  void stop();
  const std::string& slavePath() const { return slavePath_; }

  std::vector<uint8_t> flash() const;
  int blocksSeen() const { return blocksSeen_; }

 private:
  void run();
  void handle(uint8_t b);
  void send(const uint8_t* data, size_t n);
  int answerFor(int block);

  int baud_;
  int master_ = -1;
  int slaveKeeper_ = -1;
  std::string slavePath_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::map<int, std::vector<int>> answers_;
  std::map<int, size_t> attempts_;

  // Serve thread only.
  enum class Stage { WaitSync, WaitWake, Blocks } stage_ = Stage::WaitSync;
  std::vector<uint8_t> block_;
  int blockIndex_ = 0;
  std::chrono::steady_clock::time_point lineFree_{};

  mutable std::mutex mutex_;
  std::vector<uint8_t> flash_;
  std::atomic<int> blocksSeen_{0};
};

}  // namespace orx::test
