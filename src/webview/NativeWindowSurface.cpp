#include "webview/NativeWindowSurface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLWidget>

namespace webview {
namespace {

// Only desktop platforms keep a window's state with a window manager and
// compose windows through OpenGL; a headless one (offscreen, minimal) has no
// such composition and must not be asked for it.
bool ComposesThroughOpenGL()
{
    const QString platform = QGuiApplication::platformName();
    const bool desktop = platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
                         platform == QLatin1String("cocoa") ||
                         platform.startsWith(QLatin1String("wayland"));
    const QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    return desktop && shared && shared->isValid();
}

} // namespace

void PrepareWindowForWebViews(QWidget* window)
{
    if (!ComposesThroughOpenGL())
        return;
    // A hidden OpenGL child is what the toolkit looks for when it makes the
    // native window; it never draws.
    auto* surface = new QOpenGLWidget(window);
    surface->setObjectName(QStringLiteral("OpenGLSurface"));
    surface->hide();
}

} // namespace webview
