#include "shell/Application.h"

#include "shell/MessageBoxes.h"

#include <exception>

namespace shell {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("zantu"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
    // Handlers report their own errors (ReportingErrors); this is the last line.
    return false;
}

void Application::ShowException(const char* what)
{
    ShowMessageBox(QByteArray(what), QByteArray("zantu"), Mb::Ok | Mb::IconError);
}

} // namespace shell
