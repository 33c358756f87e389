#include "ui/SkinTabFrameStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace ui {

SkinTabFrameStyle::SkinTabFrameStyle(QObject* owner)
{
    // Owned by the widget it draws; a proxy without a base follows the
    // application's style.
    setParent(owner);
}

void SkinTabFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const
{
    if (element != PE_FrameTabWidget) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setPen(QColor(0x8F, 0xAA, 0xD9));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace ui
