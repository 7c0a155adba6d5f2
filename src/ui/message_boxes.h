#pragma once

#include "app/views.h"

#include <QString>

#include <memory>

class QWidget;

namespace faultward {

// Message boxes with the program's title as caption and an OK button only,
// behind an interface so tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has dismissed the box.
    // details, when not empty, is offered behind a button, to read and copy.
    virtual void showMessage(QWidget* parent, const QString& text, MessageIcon icon,
                             const QString& details = {}) = 0;
};

std::unique_ptr<MessageBoxes> makeQtMessageBoxes();

} // namespace faultward
