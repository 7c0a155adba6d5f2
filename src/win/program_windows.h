#pragma once

#include <functional>
#include <utility>

namespace faultward::win {

// The program's top-level windows: the program ends when the last one has
// closed, so an About window left open keeps it running after the main
// window has gone.
class ProgramWindows {
public:
    explicit ProgramWindows(std::function<void()> lastClosed)
        : lastClosed_(std::move(lastClosed)) {}

    void opened() { ++open_; }
    void closed() {
        if (--open_ == 0 && lastClosed_)
            lastClosed_();
    }
    int open() const { return open_; }

private:
    std::function<void()> lastClosed_;
    int open_ = 0;
};

} // namespace faultward::win
