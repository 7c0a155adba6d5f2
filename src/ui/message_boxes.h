#pragma once

#include "app/desktop/views.h"

#include <QString>

#include <memory>

class QDialog;
class QWidget;

namespace faultward {

// Message boxes with the program's title as caption and an OK button, or Yes
// and No for a question, behind an interface so tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has dismissed the box. details, when not empty,
    // show whole below the text's lead paragraph, in a box to scroll, select
    // and copy.
    virtual void showMessage(QWidget* parent, const QString& text, MessageIcon icon,
                             const QString& details = {}) = 0;
    // A question with a warning, Yes and No, No the default: true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // The same with a button captioned choice beside OK; true when the user
    // closed the box with it. A box that offers no choice shows the message.
    virtual bool showMessageWithChoice(QWidget* parent, const QString& text, MessageIcon icon,
                                       const QString& details, const QString& choice) {
        (void)choice;
        showMessage(parent, text, icon, details);
        return false;
    }
};

std::unique_ptr<MessageBoxes> makeQtMessageBoxes();

// The box of a message with details, not yet shown: the lead paragraph of
// text beside the icon, the details below it in a ReportTextView sized to
// their lines (up to a dozen, then it scrolls), and OK; with a choice, a
// button cmd_choice of that caption beside OK, which ends the box with
// kChoiceResult.
inline constexpr int kChoiceResult = 2;
std::unique_ptr<QDialog> makeDetailsBox(QWidget* parent, const QString& text, MessageIcon icon,
                                        const QString& details, const QString& choice = {});

} // namespace faultward
