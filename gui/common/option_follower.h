// SPDX-License-Identifier: MIT
// Follows the options set in the simulation for the windows that show them: every OptionChanged
// event, whoever set the option (a control, an option window, a scenario's change, a replay),
// reaches `show` on the user-interface thread. The controls then move without setting the option
// again.
#pragma once

#include <QObject>
#include <functional>

#include "simulation/run_options.h"
#include "simulation/sim_event.h"

namespace kelpa {

class OptionFollower final : public QObject, public IEventSink {
 public:
  explicit OptionFollower(std::function<void(OptionId, int)> show, QObject* parent = nullptr)
      : QObject(parent), show_(std::move(show)) {}

  // With the simulation lock held: `show` may not take it, and reads nothing but the value.
  void Report(const SimEvent& event) override;

 private:
  std::function<void(OptionId, int)> show_;
};

}  // namespace kelpa
