// What the user is told about a device that is plugged in but will not open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "link/AccessProblem.h"

namespace orx {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(AccessProblem, SummaryNamesTheDeviceItsIdWhereAndWhy) {
  EXPECT_EQ(AccessProblemSummary(SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EACCES)),
            "The NVQ series ESC (USB id 0483:5740) is plugged in at /dev/ttyACM0, but this program cannot open it: "
            "this user has no permission for it.");
  EXPECT_TRUE(has(AccessProblemSummary(SerialAccessProblem(AccessDevice::Cp210xAdapter, "/dev/ttyUSB0", EBUSY)),
                  "CP210x USB-to-UART adapter (USB id 10C4:EA60) is plugged in at /dev/ttyUSB0, but this program "
                  "cannot open it: another program is using it."));
  EXPECT_TRUE(has(AccessProblemSummary(SerialAccessProblem(AccessDevice::NvqPort, "/x", ENOTTY)),
                  "cannot open it: inappropriate ioctl for device."));
}

TEST(AccessProblem, FixFitsTheReasonAndWhatIsInstalled) {
  const AccessProblem denied = SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EACCES);
  const std::string bare = AccessProblemFix(denied, {});
  EXPECT_TRUE(has(bare, "sudo cp resources/linux/60-orx-device-manager.rules /etc/udev/rules.d/"));
  EXPECT_FALSE(has(bare, "usermod"));  // a root-owned node: no group to join
  const std::string ruled = AccessProblemFix(denied, {"/usr/lib/udev/rules.d/60-orx-device-manager.rules", "dialout", "ann"});
  EXPECT_TRUE(has(ruled, "/usr/lib/udev/rules.d/60-orx-device-manager.rules is installed"));
  EXPECT_FALSE(has(ruled, "sudo cp"));
  EXPECT_TRUE(has(ruled, "sudo usermod -aG dialout ann"));

  const AccessProblem held = SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EBUSY);
  EXPECT_TRUE(has(AccessProblemFix(held, {}), "sudo systemctl stop ModemManager"));
  AccessProblem dfuHeld = held;
  dfuHeld.device = AccessDevice::DfuBootLoader;
  EXPECT_FALSE(has(AccessProblemFix(dfuHeld, {}), "ModemManager"));  // it probes serial ports only
}

TEST(AccessProblem, FactsComeFromTheSystem) {
  const std::string dir = testing::TempDir();
  const std::string rule = dir + "/60-orx-device-manager.rules";
  std::ofstream(rule) << "#\n";
  const AccessProblem p = SerialAccessProblem(AccessDevice::NvqPort, rule, EACCES);
  const AccessFacts facts = LookUpAccessFacts(p, {dir + "/missing.rules", rule});
  EXPECT_EQ(facts.installedRule, rule);
  struct stat st {};
  ASSERT_EQ(::stat(rule.c_str(), &st), 0);
  EXPECT_EQ(facts.owningGroup.empty(), st.st_gid == 0);
  EXPECT_FALSE(facts.userName.empty());
  EXPECT_TRUE(LookUpAccessFacts(p, {dir + "/missing.rules"}).installedRule.empty());
}

TEST(AccessProblemFilter, TellsOnTheSecondSightingInARowAndOnlyOnce) {
  AccessProblemFilter filter;
  const AccessProblem nvq = SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EACCES);
  const AccessProblem cp = SerialAccessProblem(AccessDevice::Cp210xAdapter, "/dev/ttyUSB0", EACCES);
  EXPECT_FALSE(filter.tellNow(nvq));  // may be udev still at work
  EXPECT_FALSE(filter.tellNow(cp));   // the other adapter in between breaks no row
  EXPECT_TRUE(filter.tellNow(nvq));
  EXPECT_FALSE(filter.tellNow(nvq));
  const AccessProblem held = SerialAccessProblem(AccessDevice::NvqPort, "/dev/ttyACM0", EBUSY);
  EXPECT_FALSE(filter.tellNow(held));
  EXPECT_TRUE(filter.tellNow(held));
}

}  // namespace
}  // namespace orx
