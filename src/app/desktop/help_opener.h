#pragma once

#include <string_view>

namespace faultward {

// Opens the program's help, as pressing F1 in the active window would.
class HelpOpener {
public:
    virtual ~HelpOpener() = default;
    virtual void sendHelpKey() = 0;
    // Opens the help at a section (an anchor of the help page).
    virtual void showHelpSection(std::string_view /*section*/) { sendHelpKey(); }
};

} // namespace faultward
