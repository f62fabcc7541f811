// SPDX-License-Identifier: MIT
// The simulation's one way in: each option set and each hand action taken through Apply is
// reported as exactly one event, and an option set reads back as it was given, whatever the core
// keeps it as.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/recording_events.h"
#include "support/test_simulation.h"

namespace kelpa {
namespace {

std::size_t Count(const test::RecordingEvents& events, EventKind kind) {
  return static_cast<std::size_t>(
      std::count_if(events.events.begin(), events.events.end(),
                    [kind](const SimEvent& e) { return e.Kind == kind; }));
}

TEST(Command, EveryOptionSetIsOneEventAndReadsBack) {
  for (const OptionRow& row : kOptionTable) {
    for (const int value : {row.Min, row.Max}) {
      test::TestSimulation t;
      test::RecordingEvents events;
      t.sim.SetEvents(&events);
      t.sim.Apply(SetOption{row.Id, value});
      ASSERT_EQ(events.events.size(), 1u) << row.Key;
      EXPECT_EQ(events.events[0].Kind, EventKind::OptionChanged);
      EXPECT_EQ(static_cast<OptionId>(events.events[0].Page), row.Id);
      EXPECT_EQ(events.events[0].Value, value);
      std::lock_guard lock(t.sim.Lock);
      EXPECT_EQ(row.Get(t.sim.Options()), value) << row.Key;
    }
  }
}

TEST(Command, EveryHandActionIsOneEventNamingItsProcess) {
  test::TestSimulation t;
  test::RecordingEvents events;
  t.sim.SetEvents(&events);
  const ShapeId shape = t.sim.Apply(HandAction{HandActionKind::Create, 0, pkIO1, 3, 4, 0x00FF00});
  ASSERT_NE(shape, 0u);
  for (const HandActionKind kind : {HandActionKind::Suspend, HandActionKind::Resume,
                                    HandActionKind::SetPriority, HandActionKind::End}) {
    t.sim.Apply(HandAction{kind, shape, 0, 9});
  }
  EXPECT_EQ(Count(events, EventKind::HandActionTaken), 5u);
  std::lock_guard lock(t.sim.Lock);
  const TProcesso* p = t.sim.Kernel.FindByShape(shape);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->BasePriority, 9);
  EXPECT_EQ(t.sim.LastHandAction().Kind, HandActionKind::End);
  EXPECT_EQ(t.sim.LastHandAction().Shape, shape);
  for (const SimEvent& e : events.events) {
    if (e.Kind == EventKind::HandActionTaken) {
      EXPECT_EQ(e.Pid, p->PID);
    }
  }
}

// A request of a process that has gone asks nothing and tells nothing.
TEST(Command, ARequestOfAGoneProcessIsNoEvent) {
  test::TestSimulation t;
  test::RecordingEvents events;
  t.sim.SetEvents(&events);
  EXPECT_EQ(t.sim.Apply(HandAction{HandActionKind::Suspend, 12345}), 0u);
  EXPECT_EQ(Count(events, EventKind::HandActionTaken), 0u);
}

}  // namespace
}  // namespace kelpa
