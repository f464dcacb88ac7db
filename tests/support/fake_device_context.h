// A page that records what is drawn on it. Every character of a font is
// `char_width` wide and `line_height` high, scaled by the font's height.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/device_context.h"

namespace zoedit::test {

class FakeDeviceContext final : public ui::DeviceContext {
public:
    struct DrawnText {
        std::string text;
        ui::Rect rect;
        unsigned format = 0;
        ui::FontHandle font = ui::kNoFont;
    };
    struct FilledRect {
        ui::Rect rect;
        ui::Rgb colour = 0;
    };

    FakeDeviceContext(int horizontal_resolution = 4800, int vertical_resolution = 6600,
                      int log_pixels_y = 600);

    int deviceCaps(ui::DeviceCap cap) const override;
    ui::FontHandle createFont(const ui::FontRequest& request) override;
    void deleteFont(ui::FontHandle font) override;
    ui::FontHandle selectFont(ui::FontHandle font) override;
    ui::Size textExtent(std::string_view text) const override;
    int averageCharWidth() const override;
    void fillRect(const ui::Rect& rect, ui::Rgb colour) override;
    void drawText(std::string_view text, const ui::Rect& rect, unsigned format) override;

    // Character size of a font: |height| high and half as wide; the
    // default font (none selected) is 8 by 16.
    ui::Size characterSize(ui::FontHandle font) const;

    std::vector<DrawnText> texts;
    std::vector<FilledRect> fills;
    std::map<ui::FontHandle, ui::FontRequest> fonts;  // the live fonts
    int fonts_created = 0;
    ui::FontHandle selected = ui::kNoFont;

private:
    int horizontal_;
    int vertical_;
    int log_pixels_y_;
    ui::FontHandle next_ = 1;
};

}  // namespace zoedit::test
