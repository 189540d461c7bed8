#include "ui/html_viewer.h"

#include <algorithm>

namespace ui {

namespace {

bool starts_without_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
               return p == (t >= 'A' && t <= 'Z' ? char(t - 'A' + 'a') : t);
           });
}

}  // namespace

bool opens_new_window(std::string_view address, bool user_initiated) {
    // Schemes are case-blind; the host must follow, or there is no web address at all.
    for (std::string_view scheme : {"http://", "https://"})
        if (starts_without_case(address, scheme)) return user_initiated && address.size() > scheme.size();
    return false;
}

void HtmlViewer::keep(const BrowserSettings& settings) {
    // Without an engine the setters only store (and clamp) their values.
    address_ = settings.address;
    set_offline(settings.offline);
    set_silent(settings.silent);
    set_text_size(settings.text_size);
}

void HtmlViewer::engine_ready() {
    has_engine_ = true;
    engine_offline(offline_);
    engine_silent(silent_);
    engine_text_size(text_size_);
    if (!address_.empty()) engine_navigate(address_);
}

void HtmlViewer::set_address(std::string_view address) {
    address_ = address;
    if (has_engine_) engine_navigate(address_);
}

void HtmlViewer::set_silent(bool on) {
    silent_ = on;
    if (has_engine_) engine_silent(on);
}

void HtmlViewer::set_offline(bool on) {
    offline_ = on;
    if (has_engine_) engine_offline(on);
}

void HtmlViewer::set_text_size(int level) {
    text_size_ = std::clamp(level, 0, 4);
    if (has_engine_) engine_text_size(text_size_);
}

void HtmlViewer::write(app::Property p, std::int32_t value) {
    switch (p) {
    case app::Property::silent:
        return set_silent(value != 0);
    case app::Property::offline:
        return set_offline(value != 0);
    case app::Property::text_size:
        return set_text_size(value);
    default:
        return;
    }
}

}  // namespace ui
