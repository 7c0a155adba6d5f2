#pragma once

#include <QStyledItemDelegate>

namespace faultward {

// The widest head of the procedures shown, in pixels: the states line up
// after it when the row has room.
struct ProcedureWidths {
    int head = 0;
};

// The whole pixels that hold text in font: elision measures in fractions, so
// a text given exactly its rounded width could lose its end.
int textWidth(const QFont& font, const QString& text);

// What a procedure's row shows beside its tick, and where.
struct ProcedureRowText {
    QRect headPlace;
    QString head; // elided in the middle when it does not fit
    QRect statePlace;
    QString state; // cut at its end only when the head is at its least
};

// Paints a procedure's row of the project files list: its tick, its head and
// its state (the item's stateRole) where the core's rule puts them. Other
// rows are painted as any item.
class ProcedureRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ProcedureRowDelegate(const ProcedureWidths& widths, int stateRole, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    ProcedureRowText rowText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    const ProcedureWidths& widths_;
    int stateRole_;
};

} // namespace faultward
