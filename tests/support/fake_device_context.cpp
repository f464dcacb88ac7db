#include "support/fake_device_context.h"

#include <cstdlib>

namespace zoedit::test {

FakeDeviceContext::FakeDeviceContext(int horizontal_resolution, int vertical_resolution,
                                     int log_pixels_y)
    : horizontal_(horizontal_resolution),
      vertical_(vertical_resolution),
      log_pixels_y_(log_pixels_y) {}

int FakeDeviceContext::deviceCaps(ui::DeviceCap cap) const {
    switch (cap) {
        case ui::DeviceCap::HorizontalResolution:
            return horizontal_;
        case ui::DeviceCap::VerticalResolution:
            return vertical_;
        case ui::DeviceCap::LogPixelsY:
            return log_pixels_y_;
    }
    return 0;
}

ui::FontHandle FakeDeviceContext::createFont(const ui::FontRequest& request) {
    const ui::FontHandle handle = next_++;
    fonts[handle] = request;
    ++fonts_created;
    return handle;
}

void FakeDeviceContext::deleteFont(ui::FontHandle font) {
    fonts.erase(font);
}

ui::FontHandle FakeDeviceContext::selectFont(ui::FontHandle font) {
    const ui::FontHandle previous = selected;
    selected = font;
    return previous;
}

ui::Size FakeDeviceContext::characterSize(ui::FontHandle font) const {
    const auto it = fonts.find(font);
    if (it == fonts.end()) return {8, 16};
    const int height = std::abs(it->second.height);
    return {height / 2, height};
}

ui::Size FakeDeviceContext::textExtent(std::string_view text) const {
    const ui::Size c = characterSize(selected);
    return {c.cx * static_cast<int>(text.size()), c.cy};
}

int FakeDeviceContext::averageCharWidth() const {
    return characterSize(selected).cx;
}

void FakeDeviceContext::fillRect(const ui::Rect& rect, ui::Rgb colour) {
    fills.push_back({rect, colour});
}

void FakeDeviceContext::drawText(std::string_view text, const ui::Rect& rect, unsigned format) {
    texts.push_back({std::string(text), rect, format, selected});
}

}  // namespace zoedit::test
