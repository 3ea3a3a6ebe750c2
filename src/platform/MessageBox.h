#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace pagora {

// Every notice and error of the program reaches the user through here: a plain
// message box with one OK button. Tests and automation replace the sink to
// record the texts instead of waiting for a person.
using MessageSink = std::function<void(const QString& text)>;

void ShowMessage(const QString& text);
void SetMessageSink(MessageSink sink);  // an empty sink restores the real box

// Shows the exception's message and restores the default cursor.
void ReportException(const std::exception& error);

// Runs an event handler so that no exception leaves it.
template <typename Call>
void Guarded(Call&& call) noexcept {
    try {
        call();
    } catch (const std::exception& error) {
        ReportException(error);
    } catch (...) {
        ReportException(std::runtime_error("Unknown error"));
    }
}

}  // namespace pagora
