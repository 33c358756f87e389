#pragma once

#include <QProxyStyle>

namespace ui {

// The application's style, with a tab widget's frame drawn in the skin's
// border colour: what a style sheet's "::pane" rule would draw, without
// putting the tab widget's pages under the style sheet.
class SkinTabFrameStyle : public QProxyStyle
{
public:
    explicit SkinTabFrameStyle(QObject* owner);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace ui
