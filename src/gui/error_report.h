#pragma once

#include <QString>
#include <exception>

class QWidget;

namespace vlt {

// The error report: the application title as caption, the error icon, one OK button and the
// text as given. Shown modally; returns when it is closed.
void show_error_report(const QString& title, const QString& text, QWidget* owner = nullptr);

// Reports an error that escaped a handler: its message
// with a "." added unless it already ends in a stop or the like.
void report_exception(const QString& title, const std::exception& error, QWidget* owner = nullptr);

}  // namespace vlt
