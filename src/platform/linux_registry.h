#pragma once

#include "platform/registry.h"

#include <string>
#include <vector>

namespace faultward::about {

// This system keeps no registry. The one value the About window looks for
// first, the full path of the System Information program, is answered with the
// first system-information program found on the search path; every other key
// and value is absent.
class LinuxRegistry final : public Registry {
public:
    // searchPath lists folders as the PATH variable does.
    explicit LinuxRegistry(std::string searchPath);
    // Searches the PATH of the environment.
    LinuxRegistry();

    long openKey(RegistryKey root, std::string_view subKey, std::uint32_t options,
                 std::uint32_t access, RegistryKey& key) override;
    long queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& size) override;
    long closeKey(RegistryKey key) override;

    // Programs that show the machine's hardware and system, best first.
    static const std::vector<std::string>& sysInfoPrograms();

private:
    std::string searchPath_;
};

} // namespace faultward::about
