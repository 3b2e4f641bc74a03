// The box for an adapter that is plugged in but cannot be opened, as the
// program wires it: the real adapter lookup over a fake sysfs tree, the
// device manager's monitor, and the notice on the window's thread.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QMessageBox>
#include <QSettings>
#include <fstream>

#include "device/DeviceManager.h"
#include "app/PortAccessNotice.h"
#include "tests/support/FakeSys.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/StartControls.h"
#include "tests/support/TempDir.h"

using namespace orx;
using namespace orx::test;

namespace {

struct NoticeRig {
  TempDir folder;
  QSettings settings{QString::fromStdString(folder.file("settings.ini")), QSettings::IniFormat};
  PortAccessNotice notice{nullptr, &settings, {folder.file("no.rules")}};
  std::vector<QString> shown;
  bool tickDontShow = false;

  NoticeRig() {
    qtApp();
    notice.setBoxRunner([this](QMessageBox& box) {
      shown.push_back(box.text() + "\n" + box.informativeText());
      if (tickDontShow) box.checkBox()->setChecked(true);
    });
  }
};

}  // namespace

TEST(PortAccessNotice, ShownForAPresentPortThatWillNotOpenNeverForAnAbsentOne) {
  NoticeRig rig;
  FakeSys sys;
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  DeviceManager manager(controls, prompter, files, {}, {}, sys.roots());
  manager.setDfuFinder([] { return false; });
  manager.setAccessListener([&rig](const AccessProblem& p) { rig.notice.post(p); });
  manager.start();

  // Absent: the monitor looks for it on several ticks and says nothing.
  EXPECT_FALSE(pumpUntil([&] { return !rig.shown.empty(); }, 2000));
  EXPECT_EQ(statusLine(controls), "");

  // Plugged in, but its node is no terminal this user can open (not even as root).
  sys.addAcm("ttyACM0", "1-3", "0483", "5740");
  std::ofstream(sys.dev("ttyACM0")) << "x";
  ::chmod(sys.dev("ttyACM0").c_str(), 0);
  ASSERT_TRUE(pumpUntil([&] { return !rig.shown.empty(); }, 5000));
  EXPECT_TRUE(rig.shown[0].startsWith("The NVQ series ESC (USB id 0483:5740) is plugged in at " +
                                      QString::fromStdString(sys.dev("ttyACM0"))))
      << rig.shown[0].toStdString();
  EXPECT_TRUE(rig.shown[0].contains("unplug the device and plug it in again", Qt::CaseInsensitive));
  EXPECT_TRUE(statusLine(controls).rfind("CANNOT OPEN " + sys.dev("ttyACM0"), 0) == 0) << statusLine(controls);
  // Once: the next ticks fail the same way and show nothing more.
  pumpUntil([] { return false; }, 1600);
  EXPECT_EQ(rig.shown.size(), 1u);
  manager.stop();
  EXPECT_TRUE(prompter.shown.empty());
}

TEST(PortAccessNotice, DontShowAgainIsKeptOtherwiseOncePerDeviceAndReason) {
  NoticeRig rig;
  const AccessProblem denied = SerialAccessProblem(AccessDevice::Cp210xAdapter, "/dev/ttyUSB0", EACCES);
  EXPECT_TRUE(rig.notice.show(denied));
  EXPECT_FALSE(rig.notice.show(denied));
  EXPECT_TRUE(rig.notice.show(SerialAccessProblem(AccessDevice::Cp210xAdapter, "/dev/ttyUSB0", EBUSY)));
  rig.tickDontShow = true;
  EXPECT_TRUE(rig.notice.show(SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EACCES)));

  PortAccessNotice nextRun(nullptr, &rig.settings);
  nextRun.setBoxRunner([](QMessageBox&) { ADD_FAILURE() << "shown after don't show again"; });
  EXPECT_FALSE(nextRun.show(denied));
}
