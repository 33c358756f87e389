#pragma once

#include <QApplication>

#include <exception>

namespace shell {

// The application object. An error that an event handler does not catch ends
// that handler only: it is shown to the operator and the program goes on, so
// no C++ exception ever crosses Qt's event loop.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The general error report: a box with the error text.
    static void ShowException(const char* what);
};

// A handler whose errors go to the general error report at the handler's own
// edge, so they never have to unwind through the toolkit's frames.
template <typename Handler> auto ReportingErrors(Handler handler)
{
    // Whatever the signal carries is not the handler's business.
    return [handler](auto&&...) {
        try {
            handler();
        } catch (const std::exception& e) {
            Application::ShowException(e.what());
        } catch (...) {
            Application::ShowException("Unknown error");
        }
    };
}

} // namespace shell
