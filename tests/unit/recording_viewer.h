// A browser view whose engine writes down every call it gets.
#pragma once

#include <string>
#include <vector>

#include "ui/html_viewer.h"

namespace test {

class RecordingViewer final : public ui::HtmlViewer {
public:
    // The calls go to log when one is given, else to calls.
    explicit RecordingViewer(std::vector<std::string>* log = nullptr) : log_(log ? log : &calls) {}
    std::vector<std::string> calls;

private:
    void engine_navigate(const std::string& a) override { log_->push_back("navigate " + a); }
    void engine_silent(bool on) override { log_->push_back(on ? "silent on" : "silent off"); }
    void engine_offline(bool on) override { log_->push_back(on ? "offline on" : "offline off"); }
    void engine_text_size(int level) override { log_->push_back("text size " + std::to_string(level)); }

    std::vector<std::string>* log_;
};

}  // namespace test
