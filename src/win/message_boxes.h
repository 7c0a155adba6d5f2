#pragma once

#include "app/desktop/views.h"

#include <windows.h>

#include <memory>
#include <string_view>

namespace faultward::win {

// Message boxes with the program's title as caption and an OK button, or Yes
// and No for a question, behind an interface so tests can answer them. Texts
// are UTF-8.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has dismissed the box. details, when not empty,
    // show whole in a text view (win/text_view.h) below the text's lead
    // paragraph, to scroll, select and copy.
    virtual void showMessage(HWND owner, std::string_view text, MessageIcon icon,
                             std::string_view details = {}) = 0;
    // A question with a warning, Yes and No, No the default: true for Yes.
    virtual bool askYesNo(HWND owner, std::string_view text) = 0;
    // The same with a button captioned choice beside OK; true when the user
    // closed the box with it. A box that offers no choice shows the message.
    virtual bool showMessageWithChoice(HWND owner, std::string_view text, MessageIcon icon,
                                       std::string_view details, std::string_view choice) {
        (void)choice;
        showMessage(owner, text, icon, details);
        return false;
    }
};

std::unique_ptr<MessageBoxes> makeSystemMessageBoxes();

} // namespace faultward::win
