// Any bytes as a list, checked as `tavrino check` checks it: the checker must never crash,
// hang or read outside a store, whatever the list's lines lead to. The same bytes also stand
// as a further text file "t.txt" and as a picture "b.png", so that lines naming those files
// lead somewhere; a picture that exists counts as loadable.
#include "check/ListChecker.h"
#include "fuzz/ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string topic = ScratchProgramFolder() + "Thema/";
    for (const char* name : {"liste.lst", "t.txt", "b.png"})
        WriteScratchFile(topic + name, data, size);

    CListChecker checker(nullptr);
    checker.CheckList(ScratchProgramFolder(), topic, "liste.lst");
    checker.Finish();
    // Editors jump to the line a finding names: there is no line 0.
    for (const Finding& finding : checker.Findings())
    {
        if (finding.line < 1 || finding.text.empty() || finding.code.empty())
            std::abort();
    }
    return 0;
}
