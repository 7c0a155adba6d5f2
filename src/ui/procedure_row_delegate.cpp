#include "ui/procedure_row_delegate.h"

#include "app/desktop/layout.h"
#include "app/desktop/window_layout.h"
#include "ui/twips.h"

#include <QApplication>
#include <QPainter>

#include <cmath>

namespace faultward {
namespace {

QStyle& styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? *option.widget->style() : *QApplication::style();
}

} // namespace

int textWidth(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

ProcedureRowDelegate::ProcedureRowDelegate(const ProcedureWidths& widths, int stateRole,
                                           QObject* parent)
    : QStyledItemDelegate(parent), widths_(widths), stateRole_(stateRole) {}

ProcedureRowText ProcedureRowDelegate::rowText(const QStyleOptionViewItem& option,
                                               const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle& style = styleOf(item);
    // The text's room as the style lays out an item, to the row's end.
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    QRect room = style.subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    room.setLeft(room.left() + margin);
    room.setRight(item.rect.right() - margin);

    const QString state = index.data(stateRole_).toString();
    const QFontMetrics metrics(item.font);
    const int gap = twips(kHeadStateGap);
    const int start = stateStart(room.width(), widths_.head, textWidth(item.font, state),
                                 twips(kLeastProcedureHead), gap);
    ProcedureRowText text;
    text.headPlace = QRect(room.left(), room.top(), start - gap, room.height());
    text.head = metrics.elidedText(item.text, Qt::ElideMiddle, text.headPlace.width());
    text.statePlace = QRect(room.left() + start, room.top(), room.width() - start, room.height());
    text.state = metrics.elidedText(state, Qt::ElideRight, text.statePlace.width());
    return text;
}

void ProcedureRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    if (!index.data(stateRole_).isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const ProcedureRowText text = rowText(option, index);
    // The style paints the background, the tick and the focus mark; the
    // texts are placed here.
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    styleOf(item).drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        group, item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->drawText(text.headPlace, flags, text.head);
    painter->drawText(text.statePlace, flags, text.state);
    painter->restore();
}

} // namespace faultward
