#include "rewrite/carried_states.h"

namespace faultward {

CarriedStates::CarriedStates(int count)
    : starts_(static_cast<std::size_t>(count) + 1), own_(starts_.size() - 1),
      settled_(own_.size(), 0) {}

bool CarriedStates::knownFor(int index, InsertionState& state) {
    std::lock_guard lock(mutex_);
    if (prefix_ < static_cast<std::size_t>(index))
        return false;
    state = starts_[static_cast<std::size_t>(index)];
    return true;
}

InsertionState CarriedStates::waitFor(int index) {
    std::unique_lock lock(mutex_);
    advanced_.wait(lock, [&] { return prefix_ >= static_cast<std::size_t>(index); });
    return starts_[static_cast<std::size_t>(index)];
}

void CarriedStates::settle(int index, const InsertionState* own) {
    {
        std::lock_guard lock(mutex_);
        const auto at = static_cast<std::size_t>(index);
        settled_[at] = own ? 2 : 1;
        if (own)
            own_[at] = *own;
        const std::size_t before = prefix_;
        for (; prefix_ < settled_.size() && settled_[prefix_] != 0; ++prefix_)
            starts_[prefix_ + 1] =
                settled_[prefix_] == 2 ? std::move(own_[prefix_]) : starts_[prefix_];
        if (prefix_ == before)
            return;
    }
    advanced_.notify_all();
}

} // namespace faultward
