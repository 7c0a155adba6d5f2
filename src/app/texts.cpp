#include "app/texts.h"

namespace faultward {

std::string aboutCaption() {
    return "About " + std::string(kProductName);
}

std::string versionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

} // namespace faultward
