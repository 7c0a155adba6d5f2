#pragma once

#include "rewrite/passes.h"

#include <vector>

namespace faultward::testing {

// The outcome of each file a pass reports, in order.
class OutcomeList : public PassObserver {
public:
    void fileProcessed(int, std::string_view, FileOutcome outcome) override {
        list.push_back(outcome);
    }
    std::vector<FileOutcome> list;
};

} // namespace faultward::testing
