// The printing device context on a Qt paint device (a printer, its preview
// or a PDF writer). Fonts are measured on the device itself, so lengths are
// in its own dots. The painter may come after the layout is measured.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <map>
#include <optional>

#include "ui/device_context.h"

class QPainter;
class QPaintDevice;

namespace zoedit::qt {

class PainterDeviceContext final : public ui::DeviceContext {
public:
    // `base`: the list's font; printed fonts keep what they do not replace.
    PainterDeviceContext(QPaintDevice& device, QFont base);

    void setPainter(QPainter* painter);

    int deviceCaps(ui::DeviceCap cap) const override;
    ui::FontHandle createFont(const ui::FontRequest& request) override;
    void deleteFont(ui::FontHandle font) override;
    ui::FontHandle selectFont(ui::FontHandle font) override;
    ui::Size textExtent(std::string_view text) const override;
    int averageCharWidth() const override;
    void fillRect(const ui::Rect& rect, ui::Rgb colour) override;
    void drawText(std::string_view text, const ui::Rect& rect, unsigned format) override;

private:
    QFont selectedFont() const;

    QPaintDevice& m_device;
    QPainter* m_painter = nullptr;
    QFont m_base;
    std::map<ui::FontHandle, QFont> m_fonts;
    ui::FontHandle m_selected = ui::kNoFont;
    ui::FontHandle m_next = 1;
    std::optional<QFontMetrics> m_metrics;  // of the selected font on the device
};

// The families tried for a face: the face, the font of the same metrics that
// Debian ships, then a font with Arabic glyphs.
QStringList printFamilies(const std::string& face);

}  // namespace zoedit::qt
