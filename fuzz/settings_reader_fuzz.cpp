// Uses arbitrary bytes as the settings file: loading never fails and keeps its
// limits, saving then loading gives back what was saved, saving twice writes
// the same bytes, and writing one key leaves the other as it read.
#include "app/settings/profile_store.h"
#include "app/settings/settings.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

using namespace faultward;

namespace {

std::filesystem::path gFolder;

void makeFolder() {
    gFolder = scratchFolderRemovedAtExit();
}

void writeRaw(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readRaw(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    makeFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The mode's text on its own: any bytes give a number or nothing, never a fault.
    const double number = leadingNumber(input);
    if (const auto flag = parseErrorFlag(input))
        FUZZ_CHECK(std::isfinite(number) && std::fabs(number - *flag) <= 0.5);

    const std::filesystem::path path = settingsFilePath(gFolder);
    writeRaw(path, input);
    IniFileStore store(path);

    const Settings loaded = loadSettings(store);
    FUZZ_CHECK(loaded.projectFile.size() <= 511);
    const std::string storedMode = store.readString("OS", "Error_Flag", "0", 512);
    FUZZ_CHECK(storedMode.size() <= 511);
    if (const auto flag = parseErrorFlag(storedMode))
        FUZZ_CHECK(loaded.errorFlag == handlingModeOf(*flag));
    else
        FUZZ_CHECK(loaded.errorFlag == HandlingMode::ShowMessage);

    // Writing the mode does not disturb the project path.
    FUZZ_CHECK(store.writeString("OS", "Error_Flag", "1"));
    FUZZ_CHECK(loadSettings(store).projectFile == loaded.projectFile);
    FUZZ_CHECK(loadSettings(store).errorFlag == HandlingMode::ResumeNext);

    const Settings saved{"C:\\VB Projects\\Payroll\\Payroll.vbp", HandlingMode::CentralHandler};
    saveSettings(store, saved);
    const std::string once = readRaw(path);
    const Settings reloaded = loadSettings(store);
    FUZZ_CHECK(reloaded.projectFile == saved.projectFile);
    FUZZ_CHECK(reloaded.errorFlag == saved.errorFlag);
    saveSettings(store, saved);
    FUZZ_CHECK(readRaw(path) == once);
    return 0;
}
