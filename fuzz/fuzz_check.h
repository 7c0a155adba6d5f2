#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A broken property is a finding: say which one, then abort so libFuzzer keeps
// the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__,        \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A fresh folder for one fuzzing run, RAM-backed where possible (targets that
// save files flush them to disk). The fuzzer exits without unwinding, so the
// folder goes in an atexit handler.
inline std::filesystem::path scratchFolderRemovedAtExit() {
    static std::filesystem::path folder;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    if (std::filesystem::is_directory("/dev/shm"))
        base = "/dev/shm";
    std::string pattern = (base / "faultward-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    folder = pattern;
    std::atexit([] {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    });
    return folder;
}
