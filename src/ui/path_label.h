#pragma once

#include <QLabel>

namespace faultward {

// A one-line label whose text may be a long path: it keeps the full text
// (text() and the tooltip give it whole) and shows the middle elided when it
// does not fit, so both the drive end and the file name stay readable.
class PathLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void setPath(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace faultward
