// What the checker keeps in memory while it follows text files that load one another. Every
// allocation of this program is counted, so the test sees what the checker holds, whatever
// holds it, without asking the system for the size of the process.
#include "TestSupport.h"
#include "check/ListChecker.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <malloc.h>
#include <new>
#include <string>

namespace
{
std::atomic<std::size_t> g_heldBytes{0};

void* Allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    g_heldBytes += malloc_usable_size(block);
    return block;
}

void Release(void* block) noexcept
{
    if (block == nullptr)
        return;
    g_heldBytes -= malloc_usable_size(block);
    std::free(block);
}
} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* block) noexcept
{
    Release(block);
}
void operator delete[](void* block) noexcept
{
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

namespace
{
struct ChainCase
{
    const char* name;
    int files;
    int linesPerFile; // lines of text before each file's step end and "§" line
};

// A list that loads the first of `files` text files, each of which loads the next.
// Gives the bytes of text in all the files.
std::size_t WriteChain(const CTemporaryFolder& folder, const ChainCase& chain)
{
    std::size_t textBytes = 0;
    const auto write = [&](const std::string& name, const std::string& text)
    {
        folder.Write("P/T/" + name, text);
        textBytes += text.size();
    };
    write("Kette.lst", "$Kette\nAnfang;\n§teile/t0.txt\n");
    for (int i = 0; i < chain.files; ++i)
    {
        std::string text;
        for (int line = 0; line < chain.linesPerFile; ++line)
            text += "Eine Zeile Text, Nummer " + std::to_string(line) + "\n";
        text += "Teil " + std::to_string(i) + ";\n";
        if (i + 1 < chain.files)
            text += "§teile/t" + std::to_string(i + 1) + ".txt\n";
        write("teile/t" + std::to_string(i) + ".txt", text);
    }
    return textBytes;
}

const ChainCase ChainCases[] = {
    {"ManySmallFiles", 400, 0},
    {"FewLongerFiles", 20, 200},
};

void PrintTo(const ChainCase& chain, std::ostream* output)
{
    *output << chain.name;
}

class CheckMemory : public testing::TestWithParam<ChainCase>
{
};

// A file read is held as its lines and what the checker notes for each line, not as the
// buffer it was read through: 20,000 small files must not take a gigabyte.
TEST_P(CheckMemory, ChainOfTextFilesHeldAsTheirLines)
{
    const ChainCase& chain = GetParam();
    CTemporaryFolder folder;
    const std::size_t textBytes = WriteChain(folder, chain);
    const std::string program = folder.Folder() + "P/";

    const std::size_t before = g_heldBytes;
    std::size_t held = 0;
    std::size_t findings = 0;
    {
        CListChecker checker(nullptr);
        checker.CheckList(program, program + "T/", "Kette.lst");
        checker.Finish();
        held = g_heldBytes - before;
        findings = checker.Findings().size();
    }
    EXPECT_EQ(findings, 0u);
    // Per file: its paths and its place in the checker's tables; per byte of text: the line
    // that holds it and the checker's notes on that line.
    const std::size_t bound = static_cast<std::size_t>(chain.files) * 2048 + 8 * textBytes;
    EXPECT_LE(held, bound) << held / static_cast<std::size_t>(chain.files) << " bytes per file, "
                           << textBytes / static_cast<std::size_t>(chain.files)
                           << " bytes of text per file";
}

INSTANTIATE_TEST_SUITE_P(Chains, CheckMemory, testing::ValuesIn(ChainCases),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
