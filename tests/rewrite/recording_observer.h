#pragma once

#include "rewrite/passes.h"

#include <string>
#include <utility>
#include <vector>

namespace faultward {

// Records every call in order, as "kind:args".
class RecordingObserver : public PassObserver {
public:
    void passStarted(PassKind kind, int minimum, int maximum) override {
        log("start", std::to_string(kind == PassKind::Insertion) + "," + std::to_string(minimum) +
                         "," + std::to_string(maximum));
    }
    void entryMadeCurrent(int index) override { log("current", std::to_string(index)); }
    void progressValue(int value) override { log("value", std::to_string(value)); }
    void lineLimitExceeded(int, std::string_view entry) override { overLimit.emplace_back(entry); }
    void fileProcessed(int index, std::string_view, FileOutcome outcome) override {
        outcomes.emplace_back(index, outcome);
        log("file", std::to_string(index) + "=" + std::string(describe(outcome)));
    }
    void passFinished(PassKind) override { log("end", ""); }

    std::vector<std::string> calls;
    std::vector<std::string> overLimit; // the entries past the line limit
    std::vector<std::pair<int, FileOutcome>> outcomes;

private:
    void log(const std::string& what, const std::string& args) {
        calls.push_back(what + ":" + args);
    }
};

} // namespace faultward
