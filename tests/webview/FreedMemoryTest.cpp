#include "webview/FreedMemory.h"

#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t BlockSize = 32 * 1024;

// The blocks' inner pages (their first and last hold the heap's own records).
std::vector<uintptr_t> innerPages(const std::vector<void*>& blocks)
{
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    std::vector<uintptr_t> pages;
    for (void* block : blocks) {
        const uintptr_t start = (uintptr_t(block) + 2 * page - 1) / page * page;
        for (uintptr_t p = start; p + 2 * page <= uintptr_t(block) + BlockSize; p += page)
            pages.push_back(p);
    }
    return pages;
}

// How many of the pages the process still holds in memory.
int resident(const std::vector<uintptr_t>& pages)
{
    int count = 0;
    for (uintptr_t p : pages) {
        unsigned char in = 0;
        if (mincore(reinterpret_cast<void*>(p), size_t(sysconf(_SC_PAGESIZE)), &in) == 0)
            count += in & 1;
    }
    return count;
}

// 32 MiB of small blocks, touched and freed, below one block still held: the
// heap cannot shrink from its top, so only a release gives the pages back.
struct FreedHeap
{
    FreedHeap()
    {
        std::vector<void*> blocks;
        for (int i = 0; i < 1024; ++i) {
            void* block = std::malloc(BlockSize);
            std::memset(block, 1, BlockSize);
            blocks.push_back(block);
        }
        top = std::malloc(64);
        pages = innerPages(blocks);
        for (void* block : blocks)
            std::free(block);
    }
    ~FreedHeap() { std::free(top); }
    void* top = nullptr;
    std::vector<uintptr_t> pages;
};

} // namespace

TEST(FreedMemoryTest, FreedHeapGoesBackToTheSystemSoonAfterTheLastRequest)
{
#if !defined(__GLIBC__)
    GTEST_SKIP() << "only the GNU C library keeps freed heap this way";
#else
    {
        FreedHeap heap;
        const int held = resident(heap.pages);
        ASSERT_GT(held, int(heap.pages.size()) * 9 / 10);
        webview::ReleaseFreedMemorySoon();
        webview::ReleaseFreedMemorySoon();         // a second request restarts the wait
        EXPECT_GT(resident(heap.pages), held / 2); // not at once
        EXPECT_TRUE(WaitFor([&] { return resident(heap.pages) < held / 2; }, 5000));
    }
    FreedHeap heap;
    const int held = resident(heap.pages);
    EXPECT_TRUE(webview::ReleaseFreedMemory());
    EXPECT_LT(resident(heap.pages), held / 2);
#endif
}
