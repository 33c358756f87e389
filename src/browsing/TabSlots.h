#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

// The slot arithmetic of the tab registry, apart from the tab widget: slot k
// is entry k of FTabSheets / FPageFrames, slot 0 the home tab.
namespace browsing {

inline constexpr int TabSlotCount = 100;

struct TabSlotState
{
    bool exists = false;     // the slot has a tab sheet
    bool tabVisible = false; // its tab is shown (open) rather than hidden (closed)
    int pageIndex = -1;      // its position in PageWebClient, hidden tabs counted
};

struct NewTabChoice
{
    int slot = 0;
    int pageIndex = 0;
    QByteArray caption;
};

// "新窗口(New Page)" + slot for a caption that is blank after trimming; any
// other caption unchanged.
QByteArray NewTabCaption(const QByteArray& caption, int slot);

// The slot OpenNewTab takes: the lowest closed slot, moved to the last page
// index, or a new slot at the end. `slotStates` is indexed by slot (missing
// entries are empty slots); `pageCount` counts hidden tabs. Nothing when all
// TabSlotCount slots are open.
std::optional<NewTabChoice> ChooseNewTabSlot(const std::vector<TabSlotState>& slotStates,
                                             int pageCount, const QByteArray& caption);

// The page index to activate after the tab at `closedPageIndex` was hidden:
// the nearest visible tab to its left, or the home tab (0).
int PageIndexAfterClose(const std::vector<TabSlotState>& slotStates, int pageCount,
                        int closedPageIndex);

} // namespace browsing
