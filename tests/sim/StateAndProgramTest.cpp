// The state file survives a restart; the program announces its port at once.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SimFixture.h"
#include "tests/support/TempDir.h"
#include "tools/SimOptions.h"
#include "tools/StateFile.h"

namespace orx::simtest {
namespace {

TEST(SimState, NvqWritesSurviveARestart) {
  const orx::test::TempDir temp;
  const std::string path = temp.file("nvq.state");
  Bytes written;
  {
    sim::SimulatedEsc esc{sim::NvqConfig{}};
    ASSERT_TRUE(esc.useStateFile(path)) << esc.error();
    ASSERT_TRUE(esc.start());
    PtyClient line;
    ASSERT_TRUE(line.open(esc.path()));
    Bytes frame = line.exchange({0xD0}, 44);
    ASSERT_EQ(frame.size(), 44u);
    frame[0] = 0xD1;
    frame[2 + 12] = 2;  // arming tones
    frame.back() = frameSum(frame);
    ASSERT_EQ(line.exchange(frame, 1), Bytes{frame.back()});
    ASSERT_EQ(line.exchange({0xDA, 0xC1, 0xD1, 0xE1}, 1), Bytes{1});
    ASSERT_EQ(line.exchange({0xDA, 0xD1}, 1), Bytes{1});
    written = line.exchange({0xD0}, 44);
  }
  sim::SimulatedEsc again{sim::NvqConfig{}};
  ASSERT_TRUE(again.useStateFile(path)) << again.error();
  ASSERT_TRUE(again.start());
  PtyClient line;
  ASSERT_TRUE(line.open(again.path()));
  EXPECT_EQ(line.exchange({0xD0}, 44), written);
  EXPECT_EQ(line.exchange({0xDA, 0xD3}, 3), (Bytes{0, 0, 0}));
  EXPECT_TRUE(startsWithEndMarker(line.exchange({0xEA, 0xF0}, 257)));
  // no temp files left beside the state
  std::string dir = path.substr(0, path.rfind('/'));
  EXPECT_EQ(std::system(("test $(ls " + dir + " | wc -l) -eq 1").c_str()), 0);
}

TEST(SimState, Cp210xSettingsAndFirmwareSurviveARestart) {
  const orx::test::TempDir temp;
  const std::string path = temp.file("cp.state");
  sim::Cp210xSettings settings;
  Bytes image;
  {
    sim::SimulatedEsc esc{sim::Cp210xConfig{}};
    ASSERT_TRUE(esc.useStateFile(path)) << esc.error();
    ASSERT_TRUE(esc.start());
    PtyClient line;
    ASSERT_TRUE(line.open(esc.path()));
    EXPECT_EQ(line.exchange({0x81}, 2), (Bytes{0x81, 1}));
    EXPECT_EQ(line.exchange({0xF9, 123}, 3), (Bytes{0xF9, 123, 1}));
    EXPECT_EQ(line.exchange({0xD9}, 7).size(), 7u);
    // a one-block firmware update
    for (std::uint8_t b : {0xD6, 0xD6, 0xD7, 0xD6}) line.exchange({b}, 2, 150);
    image = {0x00, 0x03, 0xC0, 0xFF, 0xEE};
    EXPECT_EQ(line.exchange(image, 6), (Bytes{0x00, 0x03, 0xC0, 0xFF, 0xEE, 0x11}));
    EXPECT_EQ(line.exchange({0xD4}, 3).size(), 3u);  // the new application answers
    settings = esc.withCp210x([](sim::Cp210xEsc& m) { return m.settings(); });
  }
  sim::SimulatedEsc again{sim::Cp210xConfig{}};
  ASSERT_TRUE(again.useStateFile(path)) << again.error();
  EXPECT_TRUE(again.withCp210x([&](sim::Cp210xEsc& m) { return m.settings() == settings; }));
  EXPECT_EQ(settings.direction, 0x81);
  EXPECT_EQ(settings.stall, 123);
  EXPECT_EQ(again.withCp210x([](sim::Cp210xEsc& m) { return m.firmwareImage(); }), image);
  EXPECT_EQ(again.withCp210x([](sim::Cp210xEsc& m) { return m.protections()[1]; }), 0);
  // the NVQ kind refuses a CP210x state
  sim::SimulatedEsc nvq{sim::NvqConfig{}};
  EXPECT_FALSE(nvq.useStateFile(path));
}

TEST(SimState, DamagedOrForeignStateIsRefused) {
  const orx::test::TempDir temp;
  const std::string dir = temp.path();
  std::string error;
  ASSERT_TRUE(sim::writeFileAtomic(dir + "/bad", "kind=nvq\nblock=ZZ\n", error));
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  EXPECT_FALSE(esc.useStateFile(dir + "/bad"));
  EXPECT_NE(esc.error().find("block"), std::string::npos);

  // a short-layout block for an ESC whose firmware uses the extended one
  sim::NvqConfig shortConfig;
  shortConfig.version = {1, 2, 0x10};
  sim::NvqEsc shortEsc(shortConfig);
  ASSERT_TRUE(sim::writeFileAtomic(dir + "/short", sim::formatState(shortEsc.saveState()), error));
  sim::SimulatedEsc extended{sim::NvqConfig{}};
  EXPECT_FALSE(extended.useStateFile(dir + "/short"));
}

TEST(SimState, HexAndKeyValueParsing) {
  Bytes out;
  EXPECT_TRUE(sim::fromHex("00ff7A", out));
  EXPECT_EQ(out, (Bytes{0x00, 0xFF, 0x7A}));
  EXPECT_FALSE(sim::fromHex("0", out));
  EXPECT_FALSE(sim::fromHex("0G", out));
  sim::StateMap state;
  std::string error;
  EXPECT_TRUE(sim::parseState("# c\r\na=1\r\nb=\n", state, error));
  EXPECT_EQ(state.at("a"), "1");
  EXPECT_EQ(state.at("b"), "");
  EXPECT_FALSE(sim::parseState("a=1\na=2\n", state, error));
  EXPECT_FALSE(sim::parseState("novalue\n", state, error));
}

TEST(SimOptionsParse, AcceptsEveryDocumentedOptionAndRefusesJunk) {
  sim::SimOptions o;
  std::string error;
  ASSERT_TRUE(sim::parseOptions({"--kind", "nvq", "--version", "D.01.02.15", "--block-count", "49",
                                 "--use-time", "12:34", "--log-bytes", "64768", "--log-sessions", "6",
                                 "--fault", "log-next:vanish:1:20", "--block-replies", "2:33,-,33",
                                 "--reappear-ms", "-1", "--state", "/tmp/x"},
                                o, error))
      << error;
  EXPECT_EQ(o.nvq.version[2], 0x15);
  EXPECT_EQ(o.nvq.blockCount, 49u);
  EXPECT_EQ(o.nvq.useTimeMinutes, 12u * 60 + 34);
  EXPECT_EQ(o.nvq.log.sessions, 6u);
  ASSERT_EQ(o.faults.size(), 1u);
  EXPECT_EQ(o.faults[0].command, sim::Command::LogNextPage);
  EXPECT_EQ(o.faults[0].kind, sim::FaultKind::Vanish);
  EXPECT_EQ(o.faults[0].vanishAfterBytes, 20u);
  ASSERT_EQ(o.blockReplies.size(), 1u);
  EXPECT_EQ(o.blockReplies[0].second, (std::vector<int>{0x33, -1, 0x33}));
  EXPECT_EQ(o.reappearMs, -1);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--kind", "usb"}, {"--version", "D.1.2"}, {"--log-bytes", "70000"},
        {"--use-time", "3:75"}, {"--fault", "ping:loud"}, {"--kind", "cp210x", "--version", "A.01.07.x2"},
        {"--protections", "AA"}, {"--fault", "nosuch:silence"}, {"--state"},
        {"--bogus"}}) {
    EXPECT_FALSE(sim::parseOptions(bad, o, error)) << bad[0];
  }
  // every option the parser knows is documented
  for (const char* name : {"--kind", "--state", "--fault", "--block-replies", "--version", "--block-count",
                           "--block-length-reply", "--use-time", "--log-bytes", "--log-sessions", "--log-seed",
                           "--no-protection-events", "--reappear-ms", "--baud", "--no-overload-marker",
                           "--application-missing", "--protections", "--pace"}) {
    EXPECT_NE(sim::helpText().find(name), std::string::npos) << name;
  }
}

// Runs the program with stdout into a pipe; the line must arrive while it
// still runs (flushed, not held in a pipe buffer until exit).
TEST(SimProgram, PrintsItsPortLineIntoAPipeAndStopsOnSigterm) {
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    ::execl(ORX_ESC_SIM_PROGRAM, "orx-esc-sim", "--kind", "nvq", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string line;
  pollfd p{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && ::poll(&p, 1, 3000) > 0) {
    char buffer[256];
    const ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  const std::string prefix = "ORX_VIRTUAL_PORTS='VID_0483&PID_5740=";
  ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
  const std::size_t end = line.find("'\n", prefix.size());
  ASSERT_NE(end, std::string::npos) << line;
  const std::string path = line.substr(prefix.size(), end - prefix.size());
  {
    PtyClient client;
    ASSERT_TRUE(client.open(path));
    EXPECT_EQ(client.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(::access(path.c_str(), F_OK), 0);  // it cleans up its symlink
  ::close(out[0]);
}

TEST(SimProgram, Cp210xKindAnnouncesTheAdapterId) {
  const std::string cmd = std::string(ORX_ESC_SIM_PROGRAM) + " --kind cp210x --version F.02.01.07 --baud 19200 & pid=$!;"
                          " sleep 0.3; kill $pid; wait $pid";
  std::FILE* pipe = ::popen(cmd.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[512] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
  EXPECT_EQ(::pclose(pipe), 0);
  const std::string out(buffer, n);
  EXPECT_EQ(out.rfind("ORX_VIRTUAL_PORTS='VID_10C4&PID_EA60=/tmp/orx-sim-", 0), 0u) << out;
  EXPECT_NE(out.find("/cp210x'\n"), std::string::npos) << out;
}

TEST(SimProgram, RefusesBadOptionsWithExitCode2) {
  const std::string cmd = std::string(ORX_ESC_SIM_PROGRAM) + " --kind bogus 2>/dev/null";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace orx::simtest
