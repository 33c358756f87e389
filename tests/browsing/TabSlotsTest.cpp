#include "browsing/TabSlots.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace {

using browsing::TabSlotState;

const QByteArray NewWindow = "\xD0\xC2\xB4\xB0\xBF\xDA(New Page)"; // 新窗口(New Page)

// The page list of the tab widget as far as the slot rules see it: the slot at
// each position and which slots show their tab. Opening and closing go
// through the rules under test; the moves are what the tab widget does.
class Registry
{
public:
    Registry() : FOrder{0}, FVisible(1, true) {}

    std::vector<TabSlotState> slotStates() const
    {
        std::vector<TabSlotState> s(FVisible.size());
        for (int pos = 0; pos < static_cast<int>(FOrder.size()); ++pos)
            s[FOrder[pos]] = {true, bool(FVisible[FOrder[pos]]), pos};
        return s;
    }
    int pageCount() const { return static_cast<int>(FOrder.size()); }
    int active() const { return FActive; }
    int pageIndexOf(int slot) const
    {
        return int(std::find(FOrder.begin(), FOrder.end(), slot) - FOrder.begin());
    }

    std::optional<browsing::NewTabChoice> open()
    {
        const auto choice = browsing::ChooseNewTabSlot(slotStates(), pageCount(), "");
        if (!choice)
            return choice;
        if (choice->slot == pageCount()) {
            FOrder.push_back(choice->slot);
            FVisible.push_back(true);
        } else {
            FOrder.erase(std::find(FOrder.begin(), FOrder.end(), choice->slot));
            FOrder.insert(FOrder.begin() + choice->pageIndex, choice->slot);
            FVisible[choice->slot] = true;
        }
        FActive = choice->pageIndex;
        return choice;
    }

    void closeSlot(int slot)
    {
        const int closed = pageIndexOf(slot);
        FVisible[slot] = false;
        FActive = browsing::PageIndexAfterClose(slotStates(), pageCount(), closed);
    }

private:
    std::vector<int> FOrder;
    std::vector<char> FVisible;
    int FActive = 0;
};

TEST(TabSlots, FirstTabTakesSlotOne)
{
    Registry r;
    const auto c = r.open();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->slot, 1);
    EXPECT_EQ(c->pageIndex, 1);
    EXPECT_EQ(c->caption, NewWindow + "1");
}

TEST(TabSlots, CloseMiddleThenReuseItAtTheEnd)
{
    Registry r;
    for (int i = 1; i <= 3; ++i)
        ASSERT_EQ(r.open()->slot, i);
    r.closeSlot(2);
    EXPECT_EQ(r.active(), 1);

    const auto c = r.open();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->slot, 2);
    EXPECT_EQ(c->pageIndex, 3);
    EXPECT_EQ(c->caption, NewWindow + "2");
    EXPECT_EQ(r.pageIndexOf(3), 2); // slot 3 moved left by one
    EXPECT_EQ(r.pageCount(), 4);
}

TEST(TabSlots, LowestClosedSlotIsReused)
{
    Registry r;
    for (int i = 1; i <= 5; ++i)
        r.open();
    r.closeSlot(4);
    r.closeSlot(2);
    EXPECT_EQ(r.open()->slot, 2);
    EXPECT_EQ(r.open()->slot, 4);
    const auto fresh = r.open();
    EXPECT_EQ(fresh->slot, 6);
    EXPECT_EQ(fresh->pageIndex, 6);
}

TEST(TabSlots, SelectionAfterClose)
{
    {
        Registry r; // the only page tab
        r.open();
        r.closeSlot(1);
        EXPECT_EQ(r.active(), 0);
    }
    {
        Registry r; // left neighbours all closed
        for (int i = 1; i <= 3; ++i)
            r.open();
        r.closeSlot(1);
        r.closeSlot(2);
        r.closeSlot(3);
        EXPECT_EQ(r.active(), 0);
    }
    {
        Registry r; // nearest visible to the left, skipping a closed one
        for (int i = 1; i <= 4; ++i)
            r.open();
        r.closeSlot(3);
        r.closeSlot(4);
        EXPECT_EQ(r.active(), 2);
    }
    {
        Registry r; // after a reuse, page order rather than slot order decides
        for (int i = 1; i <= 3; ++i)
            r.open();
        r.closeSlot(1);
        r.open();       // slot 1 now at page index 3
        r.closeSlot(3); // page index 2; to its left: slot 2 at index 1
        EXPECT_EQ(r.active(), 1);
        r.closeSlot(1); // page index 3; to its left only slot 2 is visible
        EXPECT_EQ(r.active(), r.pageIndexOf(2));
    }
    {
        Registry r; // tabs to the right never count
        for (int i = 1; i <= 3; ++i)
            r.open();
        r.closeSlot(1);
        EXPECT_EQ(r.active(), 0);
    }
}

TEST(TabSlots, HundredSlotsThenNoMore)
{
    Registry r;
    for (int i = 1; i < browsing::TabSlotCount; ++i)
        ASSERT_EQ(r.open()->slot, i);
    EXPECT_EQ(r.pageCount(), 100);
    EXPECT_FALSE(r.open()) << "no slot past the last one";
    EXPECT_FALSE(browsing::ChooseNewTabSlot(r.slotStates(), 101, ""));

    r.closeSlot(57);
    const auto c = r.open();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->slot, 57);
    EXPECT_EQ(c->pageIndex, 99);
    EXPECT_FALSE(r.open());
}

TEST(TabSlots, Captions)
{
    const struct
    {
        QByteArray given;
        int slot;
        QByteArray caption;
    } cases[] = {
        {"", 2, NewWindow + "2"},
        {" \t ", 99, NewWindow + "99"},
        {" Mine ", 5, " Mine "}, // used untrimmed
        {"\xD5\xC5", 1, "\xD5\xC5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browsing::NewTabCaption(c.given, c.slot), c.caption) << c.slot;

    const std::vector<TabSlotState> homeOnly{{true, true, 0}};
    EXPECT_EQ(browsing::ChooseNewTabSlot(homeOnly, 1, "Given")->caption, "Given");
}

TEST(TabSlots, SlotsBeyondTheDescriptionAreEmpty)
{
    // A short description must not be read past its end.
    const std::vector<TabSlotState> two{{true, true, 0}, {true, true, 1}};
    const auto c = browsing::ChooseNewTabSlot(two, 3, "");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->slot, 3);
    EXPECT_EQ(browsing::PageIndexAfterClose(two, 5, 4), 1);
}

} // namespace
