#pragma once

namespace faultward {

// Opens the program's help, as pressing F1 in the active window would.
class HelpOpener {
public:
    virtual ~HelpOpener() = default;
    virtual void sendHelpKey() = 0;
};

} // namespace faultward
