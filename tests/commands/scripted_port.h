#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/window_port.h"
#include "pictures/view.h"

namespace vlt::testing {

// A window stand-in whose file dialog answers from a script and which records everything the
// commands ask of it.
class ScriptedPort : public WindowPort {
public:
    std::deque<std::optional<std::filesystem::path>> answers;  // empty: the user cancels
    std::function<void()> before_answer;                       // e.g. to throw from the dialog

    std::vector<FileRequest> requests;
    std::vector<std::string> notices;
    std::vector<std::string> errors;
    std::vector<std::vector<std::string>> warnings;  // one list per call
    std::vector<std::string> refreshed;              // view names, in order
    std::vector<FileReason> reasons;                 // of notices and errors that carry one

    std::optional<std::filesystem::path> pick_file(const FileRequest& request) override {
        requests.push_back(request);
        if (before_answer) {
            before_answer();
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void show_notice(const Message& message) override {
        notices.push_back(message.text);
        record_reason(message);
    }
    void report_error(const Message& message) override {
        errors.push_back(message.text);
        record_reason(message);
    }
    void show_warnings(std::span<const std::string> texts) override {
        warnings.emplace_back(texts.begin(), texts.end());
    }
    void refresh_view(View& view) override { refreshed.push_back(view.name()); }

    void clear_records() {
        requests.clear();
        notices.clear();
        errors.clear();
        warnings.clear();
        refreshed.clear();
        reasons.clear();
    }

private:
    void record_reason(const Message& message) {
        if (message.reason) {
            reasons.push_back(*message.reason);
        }
    }
};

}  // namespace vlt::testing
