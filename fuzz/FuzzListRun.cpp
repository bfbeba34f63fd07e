// Any bytes as a list, driven by any presses: the dialog must never crash, hang or read
// outside its store. The first bytes choose the presses, the rest is the list; the same
// bytes also stand as a further text file "t.txt" and as a picture "b.png".
#include "app/MainDialog.h"
#include "fuzz/ScratchFolder.h"
#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t PressBytes = 24;
    const std::size_t presses = size < PressBytes ? size : PressBytes;
    const std::string topic = ScratchProgramFolder() + "Thema/";
    for (const char* name : {"liste.lst", "t.txt", "b.png"})
        WriteScratchFile(topic + name, data + presses, size - presses);

    CHeadlessSurface surface;
    CMainDialog dialog(surface, ScratchProgramFolder());
    if (!dialog.Create())
        std::abort();
    surface.Click(ControlId::CentreButton);
    surface.Click(ControlId::MenuButton0);
    surface.Click(ControlId::MenuButton0);
    for (std::size_t i = 0; i < presses && !surface.HasEnded(); ++i)
    {
        switch (data[i] % 8)
        {
        case 0:
            surface.Click(ControlId::LeftButton);
            break;
        case 1:
            surface.Click(ControlId::CentreButton);
            break;
        case 2:
        case 3:
            surface.Click(ControlId::RightButton);
            break;
        case 4:
            surface.Click(ControlId::Picture);
            break;
        case 5:
            surface.Tick();
            break;
        case 6:
            surface.Resize(data[i] & 8 ? Size{320, 240} : Size{240, 320});
            break;
        default:
            surface.Click(ControlId::MenuButtons[data[i] / 8 % 6]);
            break;
        }
    }
    return 0;
}
