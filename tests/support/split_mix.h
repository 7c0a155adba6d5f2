#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace faultward::testing {

// A small random generator whose sequence is fixed by its seed alone. The
// standard distributions differ between library implementations; this does
// not, so a seed names the same project on every machine.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number in [0, bound); bound must not be 0. The slight bias of the
    // remainder does not matter for made-up source text.
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

    // A number in [low, high].
    int between(int low, int high) {
        return low + static_cast<int>(below(static_cast<std::size_t>(high - low + 1)));
    }

    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }

    template <typename Items> const auto& pick(const Items& items) {
        return items[below(std::size(items))];
    }

    // Fisher-Yates, spelled out because std::shuffle's draws are not fixed.
    template <typename Items> void shuffle(Items& items) {
        for (std::size_t i = std::size(items); i > 1; --i)
            std::swap(items[i - 1], items[below(i)]);
    }

private:
    std::uint64_t state_;
};

} // namespace faultward::testing
