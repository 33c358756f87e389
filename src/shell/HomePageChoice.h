#pragma once

#include <QByteArray>

namespace shell {

// Which page the home tab opens. `descriptorHomePage` and
// `descriptorChangeHomePage` come from the update descriptor of the working
// directory, `configHomePage` from Config.ini; all trimmed. Lengths are GBK bytes.
struct HomePageChoice
{
    QByteArray url;
    // Not empty: Config.ini's HomePage moves to this page, which then opens.
    QByteArray changeTo;
};

HomePageChoice ChooseHomePage(const QByteArray& descriptorHomePage,
                              const QByteArray& descriptorChangeHomePage,
                              const QByteArray& configHomePage);

} // namespace shell
