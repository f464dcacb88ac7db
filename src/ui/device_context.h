// Drawing on a printer page or a preview: fonts, text measurement, filled
// rectangles and clipped text. Lengths are in the device's own units.
#pragma once

#include <string>
#include <string_view>

#include "ui/form.h"

namespace zoedit::ui {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

// A font as the list control's font with these attributes replaced.
struct FontRequest {
    std::string face;
    int height = 0;  // negative: character height, as the classic font description has it
    int weight = 400;
    bool italic = false;
    bool operator==(const FontRequest&) const = default;
};

using FontHandle = int;  // 0 is no font
inline constexpr FontHandle kNoFont = 0;

enum class DeviceCap { HorizontalResolution, VerticalResolution, LogPixelsY };

// Text format flags, with their classic values.
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOPREFIX = 0x800;

class DeviceContext {
public:
    virtual ~DeviceContext() = default;
    virtual int deviceCaps(DeviceCap cap) const = 0;

    virtual FontHandle createFont(const FontRequest& request) = 0;
    virtual void deleteFont(FontHandle font) = 0;
    // Returns the font selected before.
    virtual FontHandle selectFont(FontHandle font) = 0;

    // Measured with the selected font.
    virtual Size textExtent(std::string_view text) const = 0;
    virtual int averageCharWidth() const = 0;

    virtual void fillRect(const Rect& rect, Rgb colour) = 0;
    // Draws UTF-8 text clipped to `rect`, placed by `format` (DT_ flags).
    virtual void drawText(std::string_view text, const Rect& rect, unsigned format) = 0;
};

}  // namespace zoedit::ui
