#pragma once

#include <QString>

class QTabWidget;
class QWidget;

// The look of the program's own parts: light blue bars, navy captions, a red
// bar on the active tab. It goes on those parts, never on the application:
// an application style sheet polishes and paints every widget through it,
// the web views' own among them, and held up the start.
namespace ui {

QString SkinStyleSheet();

// `part` and every widget inside it take the skin.
void ApplySkin(QWidget* part);

// A tab widget whose pages hold web views: its tabs take the skin, and its
// frame the skin's border colour, while its pages stay out of the skin.
void ApplySkinToTabs(QTabWidget* tabs);

} // namespace ui
