// SPDX-License-Identifier: MIT
// Log lines made from events with a translated catalogue: every word of the line comes from it.
#include <gtest/gtest.h>

#include "catalogue/messages.h"
#include "simulation/sim_event.h"

namespace kelpa {
namespace {

TEST(EventLineTest, NoFreeFrameTakesItsTextFromTheCatalogue) {
  SimEvent event;
  event.Kind = EventKind::NoFreeFrame;
  event.Pid = 7;
  event.Page = 3;
  TMessages msg;
  EXPECT_EQ(EventLine(event, msg), "Processo 7 sem frame livre para a pagina 3");
  msg.MsgLogProcesso = "Process ";
  msg.MsgLogSemFrameLivre = " has no free frame for page ";
  EXPECT_EQ(EventLine(event, msg), "Process 7 has no free frame for page 3");
}

}  // namespace
}  // namespace kelpa
