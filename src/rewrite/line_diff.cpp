#include "rewrite/line_diff.h"

#include "rewrite/handler_format.h"

#include <algorithm>
#include <vector>

namespace faultward {
namespace {

constexpr std::size_t kContext = 3;

// Each line with its line feed, if it has one.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

bool isMarked(std::string_view line) {
    return line.find(kMarker) != std::string_view::npos;
}

enum class Step : char { Keep = ' ', Remove = '-', Add = '+' };

struct Edit {
    Step step;
    std::size_t before; // lines of before consumed ahead of this step
    std::size_t after;  // lines of after consumed ahead of this step
};

std::vector<Edit> editScript(const std::vector<std::string_view>& a,
                             const std::vector<std::string_view>& b) {
    std::vector<Edit> script;
    std::size_t i = 0;
    std::size_t j = 0;
    const auto step = [&](Step kind) {
        script.push_back({kind, i, j});
        i += kind != Step::Add;
        j += kind != Step::Remove;
    };
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) {
            step(Step::Keep);
        } else if (isMarked(a[i])) {
            step(Step::Remove);
        } else if (isMarked(b[j])) {
            step(Step::Add);
        } else {
            step(Step::Remove);
            step(Step::Add);
        }
    }
    while (i < a.size())
        step(Step::Remove);
    while (j < b.size())
        step(Step::Add);
    return script;
}

// "start,count" of a hunk's range, as diff writes it: the count is left out
// when it is 1, and an empty range names the line before it.
std::string range(std::size_t consumedBefore, std::size_t count) {
    const std::size_t start = count == 0 ? consumedBefore : consumedBefore + 1;
    std::string text = std::to_string(start);
    if (count != 1) {
        text += ',';
        text += std::to_string(count);
    }
    return text;
}

} // namespace

LineChanges countLineChanges(std::string_view before, std::string_view after) {
    LineChanges changes;
    for (const Edit& edit : editScript(splitLines(before), splitLines(after))) {
        changes.added += edit.step == Step::Add;
        changes.removed += edit.step == Step::Remove;
    }
    return changes;
}

std::string unifiedDiff(std::string_view before, std::string_view after,
                        std::string_view beforeLabel, std::string_view afterLabel) {
    const std::vector<std::string_view> a = splitLines(before);
    const std::vector<std::string_view> b = splitLines(after);
    const std::vector<Edit> script = editScript(a, b);
    std::vector<std::size_t> changes;
    for (std::size_t k = 0; k < script.size(); ++k)
        if (script[k].step != Step::Keep)
            changes.push_back(k);
    if (changes.empty())
        return {};

    std::string out = "--- " + std::string(beforeLabel) + "\n+++ " + std::string(afterLabel) + "\n";
    for (std::size_t first = 0; first < changes.size();) {
        // Changes closer than twice the context share a hunk.
        std::size_t last = first;
        while (last + 1 < changes.size() && changes[last + 1] - changes[last] <= 2 * kContext + 1)
            ++last;
        const std::size_t from = changes[first] - std::min(changes[first], kContext);
        const std::size_t to = std::min(script.size(), changes[last] + 1 + kContext);
        std::size_t beforeCount = 0;
        std::size_t afterCount = 0;
        for (std::size_t k = from; k < to; ++k) {
            beforeCount += script[k].step != Step::Add;
            afterCount += script[k].step != Step::Remove;
        }
        out += "@@ -" + range(script[from].before, beforeCount) + " +" +
               range(script[from].after, afterCount) + " @@\n";
        for (std::size_t k = from; k < to; ++k) {
            const Edit& edit = script[k];
            const std::string_view line = edit.step == Step::Add ? b[edit.after] : a[edit.before];
            out += static_cast<char>(edit.step);
            out += line;
            if (!line.ends_with('\n'))
                out += "\n\\ No newline at end of file\n";
        }
        first = last + 1;
    }
    return out;
}

} // namespace faultward
