#include "shell/Application.h"

#include "ui/ErrorReport.h"

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
        ui::ShowException(e.what());
    } catch (...) {
        ui::ShowException("Unknown error");
    }
    // Handlers report their own errors (ui::ReportingErrors); this is the last line.
    return false;
}

} // namespace shell
