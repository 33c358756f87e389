#pragma once

#include "menu/MenuBuilder.h"

#include <QByteArray>
#include <QList>

#include <ostream>

// One call of BuildMenuToolbar to its builder.
struct MenuCall
{
    enum Kind { Button, Item };
    Kind kind = Button;
    int level = 0;
    QByteArray caption;
    int image = 0; // buttons
    int n = 0;
    int p = 0;
    int s = 0;
    QByteArray target;

    static MenuCall button(const QByteArray& caption, int image, int n)
    {
        return {Button, 0, caption, image, n, 0, 0, {}};
    }
    static MenuCall item(const QByteArray& caption, int n, int p, const QByteArray& target)
    {
        return {Item, menu::MenuBuilder::TopLevel, caption, 0, n, p, 0, target};
    }
    static MenuCall subItem(const QByteArray& caption, int n, int p, int s,
                            const QByteArray& target)
    {
        return {Item, menu::MenuBuilder::SubLevel, caption, 0, n, p, s, target};
    }

    bool operator==(const MenuCall& o) const
    {
        return kind == o.kind && level == o.level && caption == o.caption && image == o.image &&
               n == o.n && p == o.p && s == o.s && target == o.target;
    }
};

inline std::ostream& operator<<(std::ostream& out, const MenuCall& c)
{
    if (c.kind == MenuCall::Button)
        return out << "AddMenuButton(" << c.caption.toHex(' ').constData() << ", " << c.image
                   << ", " << c.n << ")";
    return out << "AddMenuItem(" << c.level << ", " << c.caption.toHex(' ').constData() << ", "
               << c.n << ", " << c.p << ", " << c.s << ", " << c.target.toHex(' ').constData()
               << ")";
}

class RecordingMenuBuilder : public menu::MenuBuilder
{
public:
    void AddMenuButton(const QByteArray& Caption, int ImageIndex, int N) override
    {
        calls.append(MenuCall::button(Caption, ImageIndex, N));
    }
    void AddMenuItem(int Level, const QByteArray& Caption, int N, int P, int S,
                     const QByteArray& Target) override
    {
        calls.append({MenuCall::Item, Level, Caption, 0, N, P, S, Target});
    }

    QList<MenuCall> calls;
};
