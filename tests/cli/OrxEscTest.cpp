// orx-esc as a process against simulated ESCs of both kinds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "base/ControlIds.h"
#include "base/MainWindowControls.h"
#include "device/DeviceManager.h"
#include "link/PosixSerialPort.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "tests/support/WriteDfu.h"
#include "tools/SimOptions.h"
#include "tools/SimulatedEsc.h"

using namespace orx;

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::unique_ptr<sim::SimulatedEsc> startSim(std::vector<std::string> args) {
  sim::SimOptions o;
  std::string error;
  EXPECT_TRUE(sim::parseOptions(args, o, error)) << error;
  auto esc = sim::makeSimulatedEsc(o);
  EXPECT_TRUE(sim::startSimulatedEsc(*esc, o)) << esc->error();
  return esc;
}
// A short log keeps the page pauses of a download few.
std::unique_ptr<sim::SimulatedEsc> nvq() {
  return startSim({"--kind", "nvq", "--version", "D.02.16.05", "--log-bytes", "2200"});
}
std::unique_ptr<sim::SimulatedEsc> cp210x() { return startSim({"--kind", "cp210x"}); }

class OrxEsc : public ::testing::Test {
 protected:
  // orx-esc with `args`, finding only `esc` (or nothing).
  Outcome run(const std::string& args, const sim::SimulatedEsc* esc, const std::string& input = "/dev/null") {
    const std::string ports = esc ? esc->virtualPort() : "";
    const std::string dfu = esc ? esc->dfuExportLine() : "";
    const std::string command = "ORX_VIRTUAL_PORTS='" + ports + "' " + dfu + " " ORX_ESC_PROGRAM " " + args + " <" + input +
                                " >" + dir.file("out") + " 2>" + dir.file("err");
    const int raw = std::system(command.c_str());
    return {WEXITSTATUS(raw), test::readFile(dir.file("out")), test::readFile(dir.file("err"))};
  }
  // The .cfg text of `esc` without its DATE line; the whole text in `cfg`.
  std::string settingsOf(const sim::SimulatedEsc& esc, std::string* cfg = nullptr) {
    Outcome r = run("read", &esc);
    EXPECT_EQ(r.status, 0) << r.err;
    if (cfg != nullptr) *cfg = r.out;
    return r.out.erase(r.out.find("DATE:"), r.out.find("FIRMWARE") - r.out.find("DATE:"));
  }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir.file(name)) << text; }
  // `cfg` (the .cfg of `esc` when empty) with ARMING TONES changed to ARM
  // ONLY, written to tones.cfg; its path.
  std::string armOnlyFile(const sim::SimulatedEsc& esc, std::string cfg = {}) {
    if (cfg.empty()) settingsOf(esc, &cfg);
    write("tones.cfg", cfg.replace(cfg.find("ARMING TONES:  STANDARD"), 23, "ARMING TONES:  ARM ONLY"));
    return dir.file("tones.cfg");
  }

  test::TempDir dir;
};

}  // namespace

TEST_F(OrxEsc, UsageAndNothingFound) {
  EXPECT_EQ(run("frobnicate", nullptr).status, 2);
  EXPECT_EQ(run("write", nullptr).status, 2);  // no file
  const Outcome help = run("flash --help", nullptr);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: orx-esc flash"), std::string::npos);
  const Outcome none = run("read", nullptr);
  EXPECT_EQ(none.status, 3);
  EXPECT_NE(none.err.find("ADAPTER Connection Error"), std::string::npos);
}

TEST_F(OrxEsc, NvqListReadUseTimeLog) {
  auto esc = nvq();
  const Outcome list = run("list --json", esc.get());
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find(R"("link":"nvq")"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find(R"("firmware":"D.02.16.05")"), std::string::npos) << list.out;

  const Outcome printed = run("read", esc.get());
  ASSERT_EQ(run("read --out " + dir.file("a.cfg"), esc.get()).status, 0);
  const std::string saved = test::readFile(dir.file("a.cfg"));
  EXPECT_EQ(printed.out.substr(printed.out.find("FIRMWARE")), saved.substr(saved.find("FIRMWARE")));
  EXPECT_NE(saved.find("FIRMWARE VERSION:  D.02.16.05\r\n"), std::string::npos);

  const Outcome useTime = run("use-time --json", esc.get());
  EXPECT_EQ(useTime.out, "{\"use_time\":\"21h : 07m\"}\n") << useTime.err;

  const Outcome log = run("log --notes bench --out " + dir.file("log.csv"), esc.get());
  EXPECT_EQ(log.status, 0) << log.err;
  const std::string csv = test::readFile(dir.file("log.csv"));
  EXPECT_EQ(csv.rfind("# Note - bench\n", 0), 0u);
  EXPECT_NE(csv.find("LogSession_ID,Log_Frequency"), std::string::npos);
  // Save Data never replaces a file.
  EXPECT_EQ(run("log --out " + dir.file("log.csv"), esc.get()).status, 2);

  EXPECT_EQ(run("log --clear", esc.get()).status, 2);  // the confirmation was not given
  const Outcome cleared = run("log --clear --yes", esc.get());
  EXPECT_EQ(cleared.status, 0) << cleared.err;
  EXPECT_NE(cleared.err.find("Clear data success!"), std::string::npos);
  EXPECT_EQ(run("log", esc.get()).status, 1);  // empty now

  EXPECT_EQ(run("protections", esc.get()).status, 1);  // only for firmware A and B
}

TEST_F(OrxEsc, OneFileWrittenToThreeEscsInARow) {
  auto first = nvq();
  const std::string original = settingsOf(*first);
  const std::string bench = armOnlyFile(*first);

  std::vector<std::unique_ptr<sim::SimulatedEsc>> escs;
  escs.push_back(std::move(first));
  escs.push_back(nvq());
  escs.push_back(nvq());
  for (auto& esc : escs) {
    const Outcome w = run("write " + bench, esc.get());
    EXPECT_EQ(w.status, 0) << w.err;
    EXPECT_EQ(w.out, "ARMING TONES: STANDARD -> ARM ONLY\n");
    EXPECT_NE(settingsOf(*esc).find("ARMING TONES:  ARM ONLY\r\n"), std::string::npos);
  }
  EXPECT_NE(original.find("ARMING TONES:  STANDARD\r\n"), std::string::npos);
}

TEST_F(OrxEsc, BadFilesExitTwoAndChangeNothingAGoodOneIsWritten) {
  auto esc = cp210x();
  std::string cfg;
  const std::string before = settingsOf(*esc, &cfg);
  write("huge.cfg", std::string(2 << 20, 'x'));
  write("A_big.orx", std::string(2 * 140000, '0'));  // more than the boot loader holds
  write("D_other.orx", "0001AA");
  for (const std::string& args : {"write " + dir.file("missing.cfg"), "write " + dir.file("huge.cfg"),
                                 "flash --yes " + dir.file("D_other.orx"), "flash --yes " + dir.file("A_big.orx")}) {
    const Outcome r = run(args, esc.get());
    EXPECT_EQ(r.status, 2) << args << "\n" << r.err;
  }
  EXPECT_EQ(settingsOf(*esc), before);
  EXPECT_TRUE(esc->withCp210x([](sim::Cp210xEsc& m) { return m.firmwareImage(); }).empty());
  // A good file goes in; what changed comes from reading the ESC back.
  const Outcome written = run("write " + armOnlyFile(*esc, cfg), esc.get());
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "ARMING TONES: STANDARD -> ARM ONLY\n");
}

TEST_F(OrxEsc, Cp210xDefaultsProtectionsAndFlash) {
  auto esc = cp210x();
  const Outcome defaults = run("defaults", esc.get());
  EXPECT_EQ(defaults.status, 0);
  EXPECT_NE(defaults.err.find("DEFAULT SETTINGS UPDATED"), std::string::npos) << defaults.err;

  const Outcome protections = run("protections --json", esc.get());
  EXPECT_NE(protections.out.find(R"("Stall Protection":"activated")"), std::string::npos) << protections.out;
  EXPECT_NE(run("protections --clear", esc.get()).out.find("Stall Protection: clear\n"), std::string::npos);

  const Outcome useTime = run("use-time", esc.get());
  EXPECT_EQ(useTime.status, 1);
  EXPECT_NE(useTime.err.find("error the connected ESC is not a NVQ series ESC"), std::string::npos);

  write("A_new.orx", "0003010203");
  const Outcome flash = run("flash --yes " + dir.file("A_new.orx"), esc.get());
  EXPECT_EQ(flash.status, 0) << flash.err;
  EXPECT_NE(flash.err.find("FIRMWARE UPDATED"), std::string::npos);
  EXPECT_EQ(esc->withCp210x([](sim::Cp210xEsc& m) { return m.firmwareImage(); }), (sim::Bytes{0, 3, 1, 2, 3}));
}

TEST_F(OrxEsc, FlashInterruptedByTheEscVanishingExitsOne) {
  auto esc = cp210x();
  esc->addFault({sim::Command::BootStart, sim::FaultKind::Vanish, 1, 0});
  write("A_new.orx", "0003010203");
  const Outcome flash = run("flash --yes " + dir.file("A_new.orx"), esc.get());
  EXPECT_EQ(flash.status, 1);
  EXPECT_NE(flash.err.find("Update Error: Data Transfer COM Loss"), std::string::npos) << flash.err;
}

TEST_F(OrxEsc, AHeldPortIsRefusedByBothFrontEnds) {
  auto esc = nvq();
  {
    auto held = PosixSerialPort::open(esc->path());  // as orx-esc or the window hold it
    ASSERT_TRUE(held);
    const Outcome r = run("read", esc.get());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("ANOTHER PROGRAM IS USING THE PORT"), std::string::npos) << r.err;

    // The window's device manager finds the same port and says the same.
    setenv("ORX_VIRTUAL_PORTS", esc->virtualPort().c_str(), 1);
    SharedControls controls;
    controls.update([](DialogState& s) { WriteInitialControls(s); });
    test::RecordingPrompter prompter;
    test::FixedChooser files;
    DeviceManager window(controls, prompter, files);
    window.start();
    EXPECT_TRUE(test::waitFor([&] {
      return controls.read([](const DialogState& s) { return s.text(ctl::StatusLine); })
                 .ends_with("ANOTHER PROGRAM IS USING THE PORT");
    }, std::chrono::seconds(5)));
    window.stop();
    unsetenv("ORX_VIRTUAL_PORTS");
  }
  EXPECT_EQ(run("read", esc.get()).status, 0);
}

TEST_F(OrxEsc, AnInterruptEndsADownloadAtItsNextWaitAndSavesNothing) {
  // SIGTERM: a shell runs a background job with SIGINT ignored. Both take the same path.
  auto esc = startSim({"--kind", "nvq", "--version", "D.02.16.05", "--log-bytes", "64768"});  // about 50 s
  const std::string script = "ORX_VIRTUAL_PORTS='" + esc->virtualPort() + "' " ORX_ESC_PROGRAM " log --out " +
                             dir.file("log.csv") + " 2>/dev/null & pid=$!; sleep 3; start=$(date +%s%N); "
                             "kill -TERM $pid; wait $pid; echo $? $(( ($(date +%s%N) - start) / 1000000 )) >" +
                             dir.file("ended");
  write("interrupt.sh", script);
  ASSERT_EQ(std::system(("bash " + dir.file("interrupt.sh")).c_str()), 0);
  int status = 0, ms = 0;
  std::ifstream(dir.file("ended")) >> status >> ms;
  EXPECT_EQ(status, 130);
  EXPECT_LT(ms, 3000);  // a hang guard, not a timing: the job stops at its next wait
  EXPECT_FALSE(std::ifstream(dir.file("log.csv")).good());
}

namespace {

// A firmware image for the simulated boot loader's flash, as a .dfu file.
std::vector<uint8_t> firmwareBytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i * 7 + seed);
  return v;
}
std::string dfuFile(const std::string& name, const std::vector<uint8_t>& data) {
  DfuFile f;
  f.images.push_back({0, true, "Internal Flash", {{sim::DfuSeDevice::kBase, data}}});
  return test::writeDfu(name, f);
}
std::vector<uint8_t> flashOf(sim::SimulatedEsc& esc, size_t n) {
  return esc.dfu()->device().read(sim::DfuSeDevice::kBase, n);
}

}  // namespace

TEST_F(OrxEsc, NvqFlashAndRepairRunThroughTheDfuBootLoader) {
  // The ESC jumps to its boot loader, takes the image and comes back on its port.
  auto esc = startSim({"--kind", "nvq", "--version", "D.02.16.05", "--log-bytes", "2200", "--reappear-ms", "100"});
  ASSERT_EQ(run("write " + armOnlyFile(*esc), esc.get()).status, 0);
  const auto factory = [&] { return esc->withNvq([](sim::NvqEsc& m) { return m.block() == m.factory(); }); };
  ASSERT_FALSE(factory());
  const auto image = firmwareBytes(5000, 1);
  const Outcome flash = run("flash --yes " + dfuFile("D_new.dfu", image), esc.get());
  EXPECT_EQ(flash.status, 0) << flash.err;
  EXPECT_NE(flash.err.find("FIRMWARE UPDATED"), std::string::npos) << flash.err;
  EXPECT_EQ(flashOf(*esc, image.size()), image);
  EXPECT_FALSE(esc->dfu()->present());
  EXPECT_TRUE(factory());  // restored once it answered on its port again

  // An ESC without firmware waits in its boot loader: no serial port at all.
  auto bare = startSim({"--kind", "nvq", "--dfu-mode", "--reappear-ms", "100"});
  ASSERT_FALSE(bare->present());
  const Outcome listed = run("list", bare.get());
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out.rfind("dfu\t", 0), 0u) << listed.out;
  EXPECT_NE(listed.out.find("VID_0483&PID_DF11"), std::string::npos) << listed.out;
  const auto rescue = firmwareBytes(3000, 9);
  const Outcome repair = run("repair --yes " + dfuFile("any_name.dfu", rescue), bare.get());
  EXPECT_EQ(repair.status, 0) << repair.err;
  EXPECT_EQ(flashOf(*bare, rescue.size()), rescue);
  EXPECT_TRUE(bare->present());
  // Back on its port, REPAIR MODE's search sends it to the boot loader first.
  const auto again = firmwareBytes(4000, 5);
  const Outcome viaPort = run("repair --yes " + dfuFile("other.dfu", again), bare.get());
  EXPECT_EQ(viaPort.status, 0) << viaPort.err;
  EXPECT_EQ(flashOf(*bare, again.size()), again);
}

TEST_F(OrxEsc, ADfuDeviceVanishingMidDownloadExitsOne) {
  // Two blocks go in, the third one's status never comes.
  auto esc = startSim({"--kind", "nvq", "--dfu-mode", "--fault", "dfu-download:vanish:1:0:2"});
  const Outcome repair = run("repair --yes " + dfuFile("x.dfu", firmwareBytes(5000, 3)), esc.get());
  EXPECT_EQ(repair.status, 1);
  EXPECT_NE(repair.err.find("Update Error: DFU Download Failed"), std::string::npos) << repair.err;
  EXPECT_FALSE(esc->dfu()->present());
}
