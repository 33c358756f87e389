#pragma once

#include <exception>

namespace ui {

// The general error report: a box with the error text.
void ShowException(const char* what);

// A handler whose errors go to the general error report at the handler's own
// edge, so they never have to unwind through the toolkit's frames.
template <typename Handler> auto ReportingErrors(Handler handler)
{
    // Whatever the signal carries is not the handler's business.
    return [handler](auto&&...) {
        try {
            handler();
        } catch (const std::exception& e) {
            ShowException(e.what());
        } catch (...) {
            ShowException("Unknown error");
        }
    };
}

} // namespace ui
