#include "browsing/PopupPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(PopupPlacement, CentresWithHalvesToTheEvenNeighbour)
{
    struct Row
    {
        QSize window, screen;
        QPoint expected;
    } rows[] = {
        {{735, 369}, {1024, 768}, {144, 200}}, // 144.5 -> 144, 199.5 -> 200
        {{400, 400}, {1024, 768}, {312, 184}},
        {{735, 369}, {1366, 768}, {316, 200}}, // 315.5 -> 316
        {{1500, 900}, {1024, 768}, {-238, -66}},
        {{401, 401}, {1000, 1000}, {300, 300}}, // 299.5 -> 300
        {{403, 403}, {1000, 1000}, {298, 298}}, // 298.5 -> 298
    };
    for (const Row& row : rows)
        EXPECT_EQ(browsing::CentredPosition(row.window, row.screen), row.expected)
            << row.window.width() << "x" << row.window.height();
}

} // namespace
