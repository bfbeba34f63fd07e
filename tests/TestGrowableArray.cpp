#include "platform/LargeMemory.h"
#include "runner/GrowableArray.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <sys/mman.h>

namespace
{

// Numbers that tell every place apart, so that a block moved or copied wrong shows.
std::uint32_t ValueAt(std::size_t index)
{
    return static_cast<std::uint32_t>(index * 2654435761u);
}

void Fill(CGrowableArray<std::uint32_t>& array, std::size_t size)
{
    const std::size_t from = array.Size();
    array.Resize(size);
    for (std::size_t i = from; i < size; ++i)
        array[i] = ValueAt(i);
}

::testing::AssertionResult HoldsItsValues(const CGrowableArray<std::uint32_t>& array)
{
    for (std::size_t i = 0; i < array.Size(); ++i)
        if (array[i] != ValueAt(i))
            return ::testing::AssertionFailure() << "wrong value at " << i;
    return ::testing::AssertionSuccess();
}

bool StartsOnLargePage(const void* block)
{
    return reinterpret_cast<std::uintptr_t>(block) % LargePageBytes == 0;
}

constexpr std::size_t PerLargePage = LargePageBytes / sizeof(std::uint32_t);

// The bytes that the count of large blocks should show for `array`, in whole large pages.
std::size_t MappedFor(const CGrowableArray<std::uint32_t>& array)
{
    const std::size_t pages = (array.Capacity() + PerLargePage - 1) / PerLargePage;
    return array.Capacity() >= PerLargePage ? pages * LargePageBytes : 0;
}

TEST(GrowableArrayTest, KeepsItsValuesBetweenTheHeapAndMappedBlocks)
{
    // Sizes in turn, each filled up and then the room around it changed: from the heap to a
    // mapped block and back, growing in place or not, and shrinking.
    struct CStep
    {
        const char* name;
        std::size_t size;
        std::size_t reserve;
    };
    const CStep steps[] = {
        {"small on the heap", 1000, 1000},
        {"to a mapped block", 1000, 3 * PerLargePage},
        {"filled inside it", 3 * PerLargePage - 5, 3 * PerLargePage},
        {"grown by pages", 3 * PerLargePage, 7 * PerLargePage + 3},
        {"grown by half", 10 * PerLargePage, 10 * PerLargePage},
        {"shrunk to fit", 10 * PerLargePage, 0},
    };
    const std::size_t mappedBefore = LargeBlockBytes();
    CGrowableArray<std::uint32_t> array;
    for (const CStep& step : steps)
    {
        Fill(array, step.size);
        if (step.reserve > 0)
            array.Reserve(step.reserve);
        else
            array.ShrinkToFit();
        EXPECT_EQ(array.Size(), step.size) << step.name;
        EXPECT_GE(array.Capacity(), std::max(step.size, step.reserve)) << step.name;
        EXPECT_TRUE(HoldsItsValues(array)) << step.name;
        EXPECT_EQ(LargeBlockBytes() - mappedBefore, MappedFor(array)) << step.name;
        if (array.Capacity() >= PerLargePage)
        {
            EXPECT_TRUE(StartsOnLargePage(array.Data())) << step.name;
        }
    }
    // Back to the heap when it holds less than a large page.
    array.Resize(100);
    array.ShrinkToFit();
    EXPECT_TRUE(HoldsItsValues(array));
    EXPECT_EQ(LargeBlockBytes(), mappedBefore);
    array.Clear();
    EXPECT_EQ(array.Size(), 0u);
    EXPECT_EQ(array.Data(), nullptr);
}

TEST(GrowableArrayTest, BlockThatCannotGrowInPlaceMovesWhole)
{
    const std::size_t mappedBefore = LargeBlockBytes();
    CGrowableArray<std::uint32_t> array;
    Fill(array, PerLargePage);
    const auto* before = reinterpret_cast<const char*>(array.Data());
    // A page taken right after the block leaves it no room to grow where it is, and so does
    // one that was there before.
    void* neighbour = ::mmap(const_cast<char*>(before) + LargePageBytes, 4096, PROT_NONE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    ASSERT_TRUE(neighbour != MAP_FAILED || errno == EEXIST);
    array.Reserve(4 * PerLargePage);
    EXPECT_NE(reinterpret_cast<const char*>(array.Data()), before);
    EXPECT_TRUE(StartsOnLargePage(array.Data()));
    Fill(array, 4 * PerLargePage);
    EXPECT_TRUE(HoldsItsValues(array));
    EXPECT_EQ(LargeBlockBytes() - mappedBefore, MappedFor(array));
    array.Clear();
    EXPECT_EQ(LargeBlockBytes(), mappedBefore);
    if (neighbour != MAP_FAILED)
        ::munmap(neighbour, 4096);
}

TEST(GrowableArrayTest, ResizedZeroedHoldsZerosAfterWhatItHeld)
{
    // Empty and large, small on the heap, and grown after values that must stay.
    for (const std::size_t first : {3 * PerLargePage, std::size_t{100}})
    {
        CGrowableArray<std::uint32_t> array;
        array.ResizeZeroed(first);
        Fill(array, first + 10);
        array.ResizeZeroed(first + 10 + 2 * PerLargePage);
        for (std::size_t i = 0; i < array.Size(); ++i)
            ASSERT_EQ(array[i], i < first        ? 0u
                                : i < first + 10 ? ValueAt(i)
                                                 : 0u)
                << first << " at " << i;
    }
}

} // namespace
