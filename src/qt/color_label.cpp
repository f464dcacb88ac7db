#include "qt/color_label.h"

#include <QApplication>
#include <QPalette>

CColorLabel::CColorLabel(QWidget* parent)
    : QLabel(parent),
      m_textColor(QApplication::palette().color(QPalette::WindowText)),
      m_background(QApplication::palette().color(QPalette::Button)) {
    setAutoFillBackground(true);
    setFont(QApplication::font());
    applyStyle();
}

void CColorLabel::setTextColor(const QColor& color) {
    m_textColor = color;
    applyStyle();
}

void CColorLabel::setBackgroundColor(const QColor& color) {
    m_background = color;
    applyStyle();
}

void CColorLabel::setBold(bool bold) {
    QFont f = font();
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(f);
    update();
}

void CColorLabel::setFontHeight(int pixels) {
    if (pixels <= 0) return;
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
    update();
}

void CColorLabel::applyStyle() {
    // A palette rather than a style sheet, so that setFont keeps working.
    QPalette p = palette();
    p.setColor(QPalette::Window, m_background);
    p.setColor(QPalette::WindowText, m_textColor);
    setPalette(p);
    update();
}
