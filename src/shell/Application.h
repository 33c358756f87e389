#pragma once

#include <QApplication>

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
};

} // namespace shell
