#include "shell/HomePageChoice.h"

namespace shell {

HomePageChoice ChooseHomePage(const QByteArray& descriptorHomePage,
                              const QByteArray& descriptorChangeHomePage,
                              const QByteArray& configHomePage)
{
    HomePageChoice choice;
    // Shorter values ("0" for a missing key) are not addresses a station set.
    choice.url = configHomePage.size() >= 13 ? configHomePage : descriptorHomePage;
    if (configHomePage == descriptorHomePage && descriptorChangeHomePage != configHomePage &&
        descriptorChangeHomePage.size() >= 12)
        choice.changeTo = descriptorChangeHomePage;
    return choice;
}

} // namespace shell
