#include "browsing/TabSlots.h"

#include "localfiles/Gbk.h"

namespace browsing {
namespace {

TabSlotState stateOf(const std::vector<TabSlotState>& slotStates, int slot)
{
    return slot >= 0 && slot < static_cast<int>(slotStates.size()) ? slotStates[slot]
                                                                   : TabSlotState{};
}

} // namespace

QByteArray NewTabCaption(const QByteArray& caption, int slot)
{
    if (!gbk::trimmed(caption).isEmpty())
        return caption;
    return "\xD0\xC2\xB4\xB0\xBF\xDA(New Page)" + QByteArray::number(slot); // 新窗口
}

std::optional<NewTabChoice> ChooseNewTabSlot(const std::vector<TabSlotState>& slotStates,
                                             int pageCount, const QByteArray& caption)
{
    int slot = pageCount;
    int pageIndex = pageCount;
    if (pageCount > 1) {
        for (int k = 0; k < pageCount; ++k) {
            const TabSlotState s = stateOf(slotStates, k);
            if (s.exists && !s.tabVisible) {
                slot = k;
                pageIndex = pageCount - 1;
                break;
            }
        }
    }
    // Past the last slot there is no array entry to hold the tab.
    if (slot < 0 || slot >= TabSlotCount)
        return std::nullopt;
    return NewTabChoice{slot, pageIndex, NewTabCaption(caption, slot)};
}

int PageIndexAfterClose(const std::vector<TabSlotState>& slotStates, int pageCount,
                        int closedPageIndex)
{
    int best = 0;
    for (int k = 1; k < pageCount; ++k) {
        const TabSlotState s = stateOf(slotStates, k);
        if (s.exists && s.tabVisible && s.pageIndex < closedPageIndex && s.pageIndex > best)
            best = s.pageIndex;
    }
    return best;
}

} // namespace browsing
