// SPDX-License-Identifier: MIT
// Consistency checks of a whole simulation: frames, page tables, page-file blocks, the places of
// the live processes and the pending interrupts. Meant to run between any two operations, from
// any test, however the state was reached.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "simulation/simulation.h"

namespace kelpa::test {

class TestSimulation;

// Every broken rule as one readable line; empty when all hold. The caller holds sim.Lock.
std::vector<std::string> CheckInvariants(const Simulation& sim);

// For EXPECT_TRUE / ASSERT_TRUE: success, or a failure listing every broken rule.
::testing::AssertionResult InvariantsHold(const Simulation& sim);

// Records a test failure for every broken rule. The first form expects the caller to hold the
// lock; the second takes it.
void ExpectInvariants(const Simulation& sim);
void ExpectInvariants(TestSimulation& ts);

}  // namespace kelpa::test

// Same as ExpectInvariants, but the failure points at the caller's line. The caller holds the lock.
#define EXPECT_INVARIANTS(sim) EXPECT_TRUE(::kelpa::test::InvariantsHold(sim))
#define ASSERT_INVARIANTS(sim) ASSERT_TRUE(::kelpa::test::InvariantsHold(sim))
