#include "qt/painter_device_context.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "print/list_printer.h"

namespace zoedit::qt {

namespace {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect toQt(const ui::Rect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

int alignment(unsigned format) {
    // Cells stay left-aligned whatever the direction of their text, as on paper.
    int flags = Qt::AlignAbsolute | Qt::TextSingleLine;
    flags |= (format & ui::DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (format & ui::DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    return flags;
}

}  // namespace

QStringList printFamilies(const std::string& face) {
    QStringList families{toQt(face)};
    if (face == print::kSansFace) families << QStringLiteral("Liberation Sans");
    if (face == print::kSerifFace) families << QStringLiteral("Liberation Serif");
    families << QStringLiteral("DejaVu Sans");
    return families;
}

PainterDeviceContext::PainterDeviceContext(QPaintDevice& device, QFont base)
    : m_device(device), m_base(std::move(base)) {
    m_metrics.emplace(m_base, &m_device);
}

void PainterDeviceContext::setPainter(QPainter* painter) {
    m_painter = painter;
    if (m_painter) m_painter->setFont(selectedFont());
}

int PainterDeviceContext::deviceCaps(ui::DeviceCap cap) const {
    switch (cap) {
        case ui::DeviceCap::HorizontalResolution:
            return m_device.width();
        case ui::DeviceCap::VerticalResolution:
            return m_device.height();
        case ui::DeviceCap::LogPixelsY:
            return m_device.logicalDpiY();
    }
    return 0;
}

ui::FontHandle PainterDeviceContext::createFont(const ui::FontRequest& request) {
    QFont font(m_base);
    font.setFamilies(printFamilies(request.face));
    // A negative height is the characters' own height, a positive one the
    // whole cell's; both are device dots.
    font.setPixelSize(std::max(1, std::abs(request.height)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(request.weight, 100, 900)));
    font.setItalic(request.italic);
    const ui::FontHandle handle = m_next++;
    m_fonts.emplace(handle, font);
    return handle;
}

void PainterDeviceContext::deleteFont(ui::FontHandle font) {
    m_fonts.erase(font);
}

QFont PainterDeviceContext::selectedFont() const {
    const auto it = m_fonts.find(m_selected);
    return it == m_fonts.end() ? m_base : it->second;
}

ui::FontHandle PainterDeviceContext::selectFont(ui::FontHandle font) {
    const ui::FontHandle previous = m_selected;
    m_selected = font;
    const QFont selected = selectedFont();
    m_metrics.emplace(selected, &m_device);
    if (m_painter) m_painter->setFont(selected);
    return previous;
}

ui::Size PainterDeviceContext::textExtent(std::string_view text) const {
    return {m_metrics->horizontalAdvance(toQt(text)), m_metrics->height()};
}

int PainterDeviceContext::averageCharWidth() const {
    return m_metrics->averageCharWidth();
}

void PainterDeviceContext::fillRect(const ui::Rect& rect, ui::Rgb colour) {
    if (!m_painter) return;
    m_painter->fillRect(toQt(rect),
                        QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
}

void PainterDeviceContext::drawText(std::string_view text, const ui::Rect& rect, unsigned format) {
    if (!m_painter || rect.width() <= 0 || rect.height() <= 0 || text.empty()) return;
    const QString qtext = toQt(text);
    int flags = alignment(format);
    // Clipping costs a saved state per cell: only text that overflows its cell needs it.
    if (m_metrics->horizontalAdvance(qtext) <= rect.width() && m_metrics->height() <= rect.height())
        flags |= Qt::TextDontClip;
    m_painter->drawText(toQt(rect), flags, qtext);
}

}  // namespace zoedit::qt
