#include "platform/CaseFolding.h"

char32_t ToSmallLetter(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if ((c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) ||
        (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) || (c >= 0x0410 && c <= 0x042F))
        return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F)
        return c + 0x50;
    if (c == 0x0130)
        return 'i';
    if (c == 0x0178)
        return 0x00FF;
    if (c == 0x1E9E)
        return 0x00DF;
    // In these runs capital and small letter alternate, the capital on an even or odd point.
    const bool evenCapital = (c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177) ||
                             (c >= 0x0218 && c <= 0x021B);
    const bool oddCapital = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E) ||
                            (c >= 0x01CD && c <= 0x01DC);
    if ((evenCapital && c % 2 == 0) || (oddCapital && c % 2 == 1))
        return c + 1;
    return c;
}

Text FoldLatin1Case(std::string_view text)
{
    Text folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (byte < 0x80)
            folded[i] = static_cast<char>(ToSmallLetter(byte));
        else if (byte == 0xC3 && i + 1 < folded.size())
        {
            // The lead takes the next byte along even when that byte continues nothing.
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if ((next & 0xC0) == 0x80)
                folded[i + 1] = static_cast<char>(ToSmallLetter(0xC0u + (next - 0x80u)) - 0x40u);
            ++i;
        }
    }
    return folded;
}
