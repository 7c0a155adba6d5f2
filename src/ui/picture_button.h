#pragma once

#include <QPushButton>

namespace faultward {

// A tool-row button: a small picture centred above a caption that wraps onto
// as many lines as the button's width needs.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QString& pictureFile, QWidget* parent);

    // Whether picture and caption fit inside the button in this font.
    bool fitsIn(const QFont& font) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect contentArea() const;
    QRect captionBounds(const QFontMetrics& metrics) const;
};

} // namespace faultward
