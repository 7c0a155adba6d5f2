#include "pointer.h"

#include <QApplication>

namespace faultward {

void showBusyPointer() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void showDefaultPointer() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace faultward
