#pragma once

#include "app/settings/handler_settings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace faultward {

class HandlerSettingsDialog;
class MessageBoxes;

// The Handler Settings dialog: check boxes, choices and a path field over the
// core's HandlerSettingsDialog. Every change goes to the core at once; OK,
// Cancel, Browse and Help are the core's, and OK's message keeps the dialog
// open.
class HandlerSettingsWindow final : public QDialog {
public:
    HandlerSettingsWindow(HandlerSettingsDialog& dialog, MessageBoxes& messages,
                          QWidget* parent = nullptr);

    void reject() override;

private:
    void okClicked();
    void browseClicked();
    void handlerSourceChosen(HandlerSource source);
    void enableTemplateRow();

    HandlerSettingsDialog& dialog_;
    MessageBoxes& messages_;
    QRadioButton* templateChoice_ = nullptr;
    QLineEdit* templateField_ = nullptr;
    QPushButton* browse_ = nullptr;
};

} // namespace faultward
