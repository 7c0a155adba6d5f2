#include "ui/message_boxes.h"

#include "ui/dialog_frame.h"

#include <QApplication>
#include <QMessageBox>

namespace faultward {
namespace {

class QtMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon,
                     const QString& details) override {
        QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                        QStringLiteral("Faultward"), text, QMessageBox::Ok, parent,
                        kFixedDialogFrame);
        // Names in a message are worth copying into a search or a ticket.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        if (!details.isEmpty())
            box.setDetailedText(details);
        // A pass may be holding the wait pointer; the box itself wants the arrow.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        box.exec();
        QApplication::restoreOverrideCursor();
    }
};

} // namespace

std::unique_ptr<MessageBoxes> makeQtMessageBoxes() {
    return std::make_unique<QtMessageBoxes>();
}

} // namespace faultward
