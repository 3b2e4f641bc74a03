#include <gtest/gtest.h>

#include <thread>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/DialogState.h"
#include "base/SharedControls.h"

using namespace orx;

TEST(DialogState, SelectionOutsideTheEntriesClearsIt) {
  DialogState s;
  s.setItems(ctl::Adapter, lists::adapterEntries());
  s.select(ctl::Adapter, 2);
  EXPECT_EQ(s.selectedText(ctl::Adapter), "HEX");
  s.select(ctl::Adapter, 3);
  EXPECT_EQ(s.selection(ctl::Adapter), -1);
  EXPECT_EQ(s.selectedText(ctl::Adapter), "");
}

TEST(DialogState, RefillingAListDropsItsSelection) {
  DialogState s;
  s.setItems(ctl::MotorEdition, lists::motorEditionsNvq());
  s.select(ctl::MotorEdition, 13);
  s.setItems(ctl::MotorEdition, lists::motorEditionsCp210x());
  EXPECT_EQ(s.selection(ctl::MotorEdition), -1);
  EXPECT_FALSE(s.selectText(ctl::MotorEdition, "CUSTOM MOTOR"));
  EXPECT_TRUE(s.selectText(ctl::MotorEdition, "MOTOR-10"));
  EXPECT_EQ(s.selection(ctl::MotorEdition), 9);
}

TEST(DialogState, RecordsOnlyRealChangesOncePerId) {
  DialogState s;
  s.setText(ctl::StatusLine, "X");
  s.setText(ctl::StatusLine, "Y");
  s.setEnabled(ctl::RangeMin, false);
  EXPECT_EQ(s.takeChanged(), (std::vector<int>{ctl::StatusLine, ctl::RangeMin}));
  s.setText(ctl::StatusLine, "Y");
  s.setEnabled(ctl::RangeMin, false);
  EXPECT_TRUE(s.takeChanged().empty());
}

TEST(ControlLists, EntriesMatchTheWindowsLists) {
  const auto node = lists::initialEntries(ctl::NodeId);
  ASSERT_EQ(node.size(), 63u);
  EXPECT_EQ(node.front(), "ID 02");
  EXPECT_EQ(node.back(), "ID 64");
  const auto motor = lists::initialEntries(ctl::DroneCanMotor);
  ASSERT_EQ(motor.size(), 64u);
  EXPECT_EQ(motor.front(), "ID 01");
  const auto poles = lists::initialEntries(ctl::DroneCanPoles);
  ASSERT_EQ(poles.size(), 24u);
  EXPECT_EQ(poles.front(), "02");
  EXPECT_EQ(poles.back(), "48");
  const auto editions = lists::motorEditionsNvq();
  ASSERT_EQ(editions.size(), 14u);
  EXPECT_EQ(editions[12], "MOTOR-12");
  EXPECT_EQ(editions[13], "CUSTOM MOTOR");
  for (int id : lists::allListIds()) EXPECT_FALSE(lists::initialEntries(id).empty()) << id;
}

TEST(SharedControls, ListenerSeesEveryChangeFromAnotherThread) {
  SharedControls shared;
  std::atomic<int> notified{0};
  shared.setChangeListener([&] { ++notified; });
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) shared.update([&](DialogState& s) { s.setValue(ctl::Progress, i + 1); });
  });
  worker.join();
  EXPECT_EQ(notified.load(), 100);
  auto changes = shared.takeChanges();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].second.value, 100);
  shared.update([](DialogState& s) { s.setValue(ctl::Progress, 100); });
  EXPECT_EQ(notified.load(), 100) << "an update that changes nothing must not notify";
}
