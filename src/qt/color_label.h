// A static text that paints its own background, text colour and font: the
// satellite banner and the channel number of the main form.
#pragma once

#include <QColor>
#include <QLabel>

class CColorLabel : public QLabel {
    Q_OBJECT
public:
    explicit CColorLabel(QWidget* parent = nullptr);

    void setTextColor(const QColor& color);
    void setBackgroundColor(const QColor& color);
    void setBold(bool bold);
    // Character height in pixels, as a negative font height asks for.
    void setFontHeight(int pixels);

    QColor textColor() const { return m_textColor; }
    QColor backgroundColor() const { return m_background; }

private:
    void applyStyle();

    QColor m_textColor;
    QColor m_background;
};
