#pragma once

#include "rewrite/insertion_options.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace faultward {

// The insertion state each file of a pass starts from: the state the files
// before it in list order leave. A file with a head leaves a state of its
// own; any other entry (not selected, not read, no head) passes on the state
// it was given. Only a file whose first end line comes before its first head
// needs to know its state before it can be written. Safe to use from several
// threads.
class CarriedStates {
public:
    explicit CarriedStates(int count);

    // The state the entry starts from, when every entry before it has settled.
    bool knownFor(int index, InsertionState& state);
    // The same, waiting until every entry before it has settled.
    InsertionState waitFor(int index);

    // What the entry leaves: own, or (nullptr) the state it was given.
    void settle(int index, const InsertionState* own);

private:
    std::mutex mutex_;
    std::condition_variable advanced_;
    std::vector<InsertionState> starts_; // filled as the settled prefix grows
    std::vector<InsertionState> own_;
    std::vector<signed char> settled_; // 0 not yet, 1 passes on, 2 leaves own_
    std::size_t prefix_ = 0;           // entries [0, prefix_) have settled
};

} // namespace faultward
