#pragma once

class QWidget;

namespace webview {

// The engine's views draw through OpenGL. When the first one joins a window
// that is already shown (its page has started to load), the toolkit destroys
// and re-creates the window's native window for OpenGL, and the new one comes
// back at the window's normal size and place: a maximised window is then
// maximised no more. Called on a window before it is first shown, this makes
// its native window OpenGL-ready from the start, so it is never re-created.
void PrepareWindowForWebViews(QWidget* window);

} // namespace webview
