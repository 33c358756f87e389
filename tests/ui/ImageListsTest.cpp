#include "ui/ImageLists.h"

#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// The pictures come with the library itself: a program or a test that links
// it gets every picture at its size, and nothing past the end of a list.
TEST(ImageLists, EveryPictureOfTheLibraryLoadsAtItsSize)
{
    for (int i = 0; i < ui::ImageListCount; ++i)
        EXPECT_EQ(ui::ImageListIcon(i).availableSizes(), QList<QSize>{QSize(16, 16)}) << i;
    for (int i = 0; i < ui::ImageList1Count; ++i)
        EXPECT_EQ(ui::ImageList1Icon(i).availableSizes(), QList<QSize>{QSize(32, 32)}) << i;
    EXPECT_EQ(ui::Image1Picture().size(), QSize(19, 18));
    EXPECT_EQ(ui::AppIcon().availableSizes(), QList<QSize>{QSize(64, 64)});

    EXPECT_TRUE(ui::ImageListIcon(ui::ImageListCount).isNull());
    EXPECT_TRUE(ui::ImageList1Icon(-1).isNull());
}

} // namespace
