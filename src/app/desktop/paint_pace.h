#pragma once

#include <chrono>
#include <optional>

namespace faultward {

// A pass keeps the event loop waiting until it ends, so the windows paint by
// themselves what the pass changes: a caption at once, the list and the bar,
// which change with every file, at most once an interval. What is left
// unpainted shows when the event loop runs again.
class PaintPace {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{16};

    // Whether a paint of the list or the bar is due at now.
    bool dueAt(Clock::time_point now) const { return !last_ || now - *last_ >= kInterval; }
    bool due() const { return dueAt(Clock::now()); }
    // A paint was made at now, for whatever reason.
    void paintedAt(Clock::time_point now) { last_ = now; }
    void painted() { paintedAt(Clock::now()); }

private:
    std::optional<Clock::time_point> last_;
};

} // namespace faultward
