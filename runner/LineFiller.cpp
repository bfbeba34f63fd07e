#include "runner/LineFiller.h"

#include "platform/ByteWords.h"
#include "platform/CodePage.h"
#include "platform/PlainRuns.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace
{

constexpr std::size_t BlockBytes = 256 * 1024;
// What one block may hold back for the next: an unfinished UTF-8 sequence or a CR.
constexpr std::size_t HeldBytes = 3;
// Bytes after the block that a word read may touch; never taken as the file's.
constexpr std::size_t WordReadBeyond = 8;
// Room kept after the text beyond what the block's bytes need, so that a word is always
// written whole and a decoded character never runs short.
constexpr std::size_t Slack = 16;

struct EncodedCharacter
{
    std::array<char, 4> bytes;
    std::uint32_t length;
};

// The UTF-8 form of each Windows-1252 byte. The control bytes up to CR take no room, for the
// decoding of words that stops at the first of them.
const std::array<EncodedCharacter, 256>& Windows1252Characters()
{
    static const std::array<EncodedCharacter, 256> table = []
    {
        std::array<EncodedCharacter, 256> characters{};
        for (std::size_t i = 0; i < characters.size(); ++i)
        {
            Text utf8;
            AppendUtf8(utf8, Windows1252ToUnicode(static_cast<unsigned char>(i)));
            std::copy(utf8.begin(), utf8.end(), characters[i].bytes.begin());
            characters[i].length = i < 0x0E ? 0 : utf8.size();
        }
        return characters;
    }();
    return table;
}

bool StartsWithByteOrderMark(const char* in, const char* end)
{
    return end - in >= 3 && std::memcmp(in, "\xEF\xBB\xBF", 3) == 0;
}

} // namespace

CLineFiller::CLineFiller(LineStore& store, std::uint64_t expectedBytes)
    : m_store(store), m_firstEntry(store.m_ends.Size()), m_firstText(store.m_text.Size()),
      m_scanned(m_firstText)
{
    static_assert(LineStore::GapShift == PlainGapShift);
    ++m_store.m_generation;
    m_store.SortPending();
    // Text as long as the file, which a list of German text in either code page does not
    // outgrow: the line ends it drops make up for the letters that take two bytes.
    const auto expected = static_cast<std::size_t>(
        std::min<std::uint64_t>(expectedBytes, LineStore::MaximumTextBytes - m_firstText));
    // One byte more, so that the read that finds the end of the file still finds room.
    m_store.m_text.Reserve(m_firstText + expected + Slack + 1);
    m_store.m_ends.Reserve(m_firstEntry + expected / 32 + 1);
}

std::span<char> CLineFiller::Room()
{
    if (m_finished)
        return {};
    if (m_reading == Reading::InPlace && !m_full)
    {
        CGrowableArray<char>& text = m_store.m_text;
        const std::size_t size = text.Size();
        if (InPlaceRoomEnd() <= size && size < LineStore::MaximumTextBytes)
            text.Reserve(std::min(size + BlockBytes, LineStore::MaximumTextBytes) + Slack);
        if (InPlaceRoomEnd() > size)
        {
            m_room = std::min(InPlaceRoomEnd() - size, BlockBytes);
            return std::span<char>(text.Data() + size, m_room);
        }
        m_full = true; // what follows is taken and dropped
    }
    MakeBlock();
    return std::span<char>(m_block.data() + m_filled, BlockBytes + HeldBytes - m_filled);
}

void CLineFiller::Take(std::size_t count)
{
    if (m_finished)
        return;
    if (m_reading == Reading::InPlace)
    {
        if (m_full)
            return;
        CGrowableArray<char>& text = m_store.m_text;
        const std::size_t taken = std::min(count, m_room);
        text.Resize(text.Size() + taken);
        m_room -= taken;
    }
    else
        m_filled += std::min(count, BlockBytes + HeldBytes - m_filled);
    Process(Bytes::MoreMayFollow);
}

std::span<char> CLineFiller::RoomAhead()
{
    if (m_finished || m_reading != Reading::InPlace || m_full)
        return {};
    CGrowableArray<char>& text = m_store.m_text;
    const std::size_t size = text.Size();
    const std::size_t roomEnd = InPlaceRoomEnd();
    if (roomEnd <= size)
        return {};
    m_readingAhead = true;
    m_room = roomEnd - size;
    return std::span<char>(text.Data() + size, m_room);
}

std::size_t CLineFiller::InPlaceRoomEnd() const
{
    const CGrowableArray<char>& text = m_store.m_text;
    return std::min(text.Capacity() > Slack ? text.Capacity() - Slack : 0,
                    LineStore::MaximumTextBytes);
}

void CLineFiller::MakeBlock()
{
    if (m_block.empty())
        m_block.resize(BlockBytes + HeldBytes + WordReadBeyond);
}

bool CLineFiller::TakesAhead() const
{
    return m_reading == Reading::InPlace && !m_leaving && !m_full;
}

void CLineFiller::EndReadAhead()
{
    if (!m_readingAhead)
        return;
    m_readingAhead = false;
    m_room = 0;
    if (m_leaving)
        Process(Bytes::MoreMayFollow);
}

void CLineFiller::Add(std::string_view bytes)
{
    while (!bytes.empty() && !m_finished)
    {
        const std::span<char> room = Room();
        const std::size_t count = std::min(room.size(), bytes.size());
        std::memcpy(room.data(), bytes.data(), count);
        bytes.remove_prefix(count);
        Take(count);
    }
}

void CLineFiller::Finish()
{
    if (m_finished)
        return;
    Process(Bytes::FileEnded);
    m_finished = true;
    CGrowableArray<char>& text = m_store.m_text;
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    if (m_reading == Reading::InPlace)
    {
        if (m_scanned > LineStart() && !m_full && HasRoomForEntries(1))
            ends.PushBack(static_cast<std::uint32_t>(m_scanned));
        DropLastLineEnd(0);
    }
    else if (text.Size() > LineStart() && !m_full && text.Size() <= LineStore::MaximumTextBytes &&
             HasRoomForEntries(1))
        ends.PushBack(static_cast<std::uint32_t>(text.Size()));
    text.ShrinkToFit();
    ends.ShrinkToFit();
    ++m_store.m_generation;
}

std::size_t CLineFiller::LineStart() const
{
    const CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    return ends.Size() > m_firstEntry ? LineStore::NextStartOf(ends[ends.Size() - 1]) : m_firstText;
}

void CLineFiller::DropLastLineEnd(std::size_t count)
{
    CGrowableArray<char>& text = m_store.m_text;
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    const std::size_t from = LineStart();
    if (ends.Size() > m_firstEntry)
        ends[ends.Size() - 1] = LineStore::EndOf(ends[ends.Size() - 1]);
    const std::size_t to = LineStart();
    std::memmove(text.Data() + to, text.Data() + from, count);
    text.Resize(to + count);
}

bool CLineFiller::EnsureRoom(char*& out, std::size_t count)
{
    CGrowableArray<char>& text = m_store.m_text;
    const auto used = static_cast<std::size_t>(out - text.Data());
    if (text.Capacity() - used >= count + Slack)
        return true;
    // Every end offset must fit in 32 bits.
    if (count + Slack > LineStore::MaximumTextBytes - used)
        return false;
    text.Reserve(std::min(std::max(used + count + Slack, text.Capacity() + text.Capacity() / 2),
                          LineStore::MaximumTextBytes));
    out = text.Data() + used;
    return true;
}

bool CLineFiller::HasRoomForEntries(std::size_t count)
{
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    constexpr auto maximumCount =
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    if (ends.Capacity() - ends.Size() >= count)
        return true;
    const bool allFit = count <= maximumCount - std::min(ends.Size(), maximumCount);
    const std::size_t wanted = allFit ? ends.Size() + count : maximumCount;
    if (wanted > ends.Capacity())
        ends.Reserve(std::min(std::max(wanted, ends.Size() + ends.Size() / 2 + 1), maximumCount));
    return allFit;
}

void CLineFiller::ProcessInPlace(Bytes bytes)
{
    const bool atEnd = bytes == Bytes::FileEnded;
    CGrowableArray<char>& text = m_store.m_text;
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    char* const data = text.Data();
    const char* in = data + m_scanned;
    if (m_leaving)
        return LeaveInPlace(in, bytes);
    if (m_coding == Coding::Undecided)
    {
        const std::size_t count = text.Size() - m_scanned;
        if (count < 3 && !atEnd)
            return;
        // A zero byte is dropped before the byte order mark is looked for.
        if (std::memchr(in, '\0', std::min<std::size_t>(3, count)) != nullptr)
            return LeaveInPlace(in, bytes);
        m_coding = Coding::Utf8;
        if (StartsWithByteOrderMark(in, in + count))
        {
            // Only the first bytes have come: moved down over it at little cost.
            m_coding = Coding::MarkedUtf8;
            std::memmove(data + m_scanned, in + 3, count - 3);
            text.Resize(text.Size() - 3);
        }
    }
    const char* const end = data + text.Size();
    const auto endEntry = [&](std::uint32_t lineEnd)
    {
        if (ends.Size() == ends.Capacity() && !HasRoomForEntries(1))
            return false;
        ends.PushBack(static_cast<std::uint32_t>(in - data) | lineEnd << LineStore::GapShift);
        return true;
    };
    while (in < end)
    {
        if (end - in > 64 && (ends.Capacity() - ends.Size() >= 64 || HasRoomForEntries(64)))
        {
            const PlainLineEnds run = FindPlainLineEnds(in, end, data, ends.Data() + ends.Size(),
                                                        ends.Data() + ends.Capacity());
            in = run.in;
            ends.Resize(static_cast<std::size_t>(run.ends - ends.Data()));
        }
        // Words of plain letters are passed over whole.
        while (end - in >= 8)
        {
            const std::uint64_t word = WordAt(in);
            if ((BytesBelow(word, 0x0E) | (word & HighBits)) != 0)
                break;
            in += 8;
        }
        if (in == end)
            break;
        const auto byte = static_cast<unsigned char>(*in);
        if (byte == '\n' || byte == '\r')
        {
            // A CR that ends what has come may be the first half of CR LF, and so may one
            // before a zero byte, which the block drops.
            if (byte == '\r' && in + 1 == end && !atEnd)
                break;
            if (byte == '\r' && in + 1 < end && in[1] == '\0')
                return LeaveInPlace(in, bytes);
            const std::uint32_t lineEnd = byte == '\r' && in + 1 < end && in[1] == '\n' ? 2 : 1;
            if (!endEntry(lineEnd))
            {
                m_full = true;
                break;
            }
            in += lineEnd;
        }
        else if (byte >= 0x80)
        {
            const std::size_t length =
                ValidUtf8SequenceLength(std::string_view(in, static_cast<std::size_t>(end - in)));
            if (length > 0)
                in += length;
            else if (end - in < 4 && !atEnd)
                break; // the rest of the sequence may come with the next bytes
            else
                return LeaveInPlace(in, bytes);
        }
        else if (byte == '\0')
            return LeaveInPlace(in, bytes);
        else
            ++in;
    }
    m_scanned = static_cast<std::size_t>(in - data);
}

void CLineFiller::LeaveInPlace(const char* in, Bytes bytes)
{
    if (m_readingAhead)
    {
        // The text may not move while another thread reads into the room after it.
        m_leaving = true;
        m_scanned = static_cast<std::size_t>(in - m_store.m_text.Data());
        return;
    }
    m_leaving = false;
    ReadInBlocks(in, bytes);
}

// The block writes text without line ends: the line begun is moved down to where the entry
// before it ends, and the bytes from `in` on go through the block. They are set apart first,
// as the text written from the block may grow over them.
void CLineFiller::ReadInBlocks(const char* in, Bytes bytes)
{
    const CGrowableArray<char>& text = m_store.m_text;
    const auto at = static_cast<std::size_t>(in - text.Data());
    const std::vector<char> rest(in, text.Data() + text.Size());
    DropLastLineEnd(at - LineStart());
    m_reading = Reading::Blocks;
    MakeBlock();
    m_filled = 0;
    Add(std::string_view(rest.data(), rest.size()));
    if (bytes == Bytes::FileEnded)
        Process(bytes);
}

void CLineFiller::Process(Bytes bytes)
{
    if (m_reading == Reading::InPlace)
    {
        if (!m_full)
            ProcessInPlace(bytes);
        return;
    }
    const bool atEnd = bytes == Bytes::FileEnded;
    char* in = m_block.data();
    char* end = in + m_filled;
    if (m_coding == Coding::Undecided)
    {
        // A zero byte is dropped before anything else looks at the bytes, the byte order
        // mark included.
        end = std::remove(in, end, '\0');
        if (end - in < 3 && !atEnd)
        {
            m_filled = static_cast<std::size_t>(end - in);
            return;
        }
        m_coding = Coding::Utf8;
        if (StartsWithByteOrderMark(in, end))
        {
            m_coding = Coding::MarkedUtf8;
            in += 3;
        }
    }
    CGrowableArray<char>& text = m_store.m_text;
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    char* out = text.Data() + text.Size();
    if (m_full || !EnsureRoom(out, static_cast<std::size_t>(end - in)))
    {
        m_full = true;
        m_filled = 0;
        return;
    }
    // While `out` stays this far below the room's end for each byte still to read, a word
    // or a character can be written without asking.
    const char* roomEnd = text.Data() + text.Capacity() - Slack;
    const auto makeRoom = [&](std::size_t more)
    {
        if (roomEnd - out >= end - in + static_cast<std::ptrdiff_t>(more))
            return true;
        if (!EnsureRoom(out, static_cast<std::size_t>(end - in) + more))
        {
            m_full = true;
            return false;
        }
        roomEnd = text.Data() + text.Capacity() - Slack;
        return true;
    };
    const auto endEntry = [&]
    {
        const auto entryEnd = static_cast<std::size_t>(out - text.Data());
        if (entryEnd > LineStore::MaximumTextBytes ||
            (ends.Size() == ends.Capacity() && !HasRoomForEntries(1)))
            return false;
        ends.PushBack(static_cast<std::uint32_t>(entryEnd));
        return true;
    };
    // Kept apart from the member, which every byte written might alias.
    Coding coding = m_coding;
    const auto& windows1252 = Windows1252Characters();
    while (in < end)
    {
        if constexpr (std::endian::native == std::endian::little)
        {
            // Eight bytes at a time, copied or decoded whole, and a line end among them taken
            // at once: the branches go by words and lines, not by letters, whose places in a
            // text no branch predictor can learn.
            std::uint64_t carried = 0; // the last word ended with the lead of a sequence
            while (end - in >= 8)
            {
                // Many bytes at a time where the processor can, up to what only the words and
                // bytes below can read.
                // Decoded Windows-1252 may take twice the room of its bytes.
                const std::size_t growth =
                    coding == Coding::Windows1252 ? static_cast<std::size_t>(end - in) : 0;
                if (end - in > 32 && carried == 0 && makeRoom(growth))
                {
                    // Its line ends are offsets of 32 bits, and it needs room for sixty-four.
                    const auto reach = static_cast<std::size_t>(out - text.Data()) +
                                       static_cast<std::size_t>(end - in) + growth + Slack;
                    if (reach <= LineStore::MaximumTextBytes &&
                        (ends.Capacity() - ends.Size() >= 64 || HasRoomForEntries(64)))
                    {
                        const PlainLines run =
                            SplitPlainLines(in, end, out, text.Data(), ends.Data() + ends.Size(),
                                            ends.Data() + ends.Capacity(),
                                            coding == Coding::Windows1252 ? PlainCoding::Windows1252
                                                                          : PlainCoding::Utf8);
                        in += run.in - in;
                        out = run.out;
                        ends.Resize(static_cast<std::size_t>(run.ends - ends.Data()));
                        if (end - in < 8)
                            continue;
                    }
                }
                if (m_full)
                    break;
                const std::uint64_t word = WordAt(in);
                const std::uint64_t controls = BytesBelow(word, 0x0E);
                const std::uint64_t high = word & HighBits;
                const auto taken = controls == 0
                                       ? std::size_t{8}
                                       : static_cast<std::size_t>(std::countr_zero(controls) / 8);
                if (coding == Coding::Windows1252)
                {
                    if (!makeRoom(24))
                        break;
                    // The bytes from the first control byte on are made zero, whose
                    // characters take no room here. Unrolled, each byte's character is
                    // looked up apart from the others.
                    const std::uint64_t before = word & (((controls & -controls) >> 7) - 1);
#pragma GCC unroll 8
                    for (std::size_t i = 0; i < 8; ++i)
                    {
                        const EncodedCharacter& character =
                            windows1252[static_cast<unsigned char>(before >> (8 * i))];
                        std::memcpy(out, character.bytes.data(), 4);
                        out += character.length;
                    }
                }
                else
                {
                    // UTF-8 of one and two bytes: every continuation byte follows a lead
                    // from C2 to DF, and nothing else follows one, up to the first control
                    // byte. Anything else is read byte by byte below.
                    const std::uint64_t leads = high & (word << 1);
                    const std::uint64_t continuations = high & ~(word << 1);
                    const std::uint64_t unexpected =
                        (leads & (word << 2)) |
                        ZeroBytes((word ^ 0xC0 * EachByte) & 0xFE * EachByte) |
                        (continuations ^ ((leads << 8) | carried));
                    const std::uint64_t upToControl =
                        controls == 0 ? ~std::uint64_t{0} : ((controls & -controls) << 1) - 1;
                    if ((unexpected & upToControl) != 0)
                    {
                        if (carried == 0)
                        {
                            const auto plain =
                                static_cast<std::size_t>(std::countr_zero(controls | high) / 8);
                            std::memcpy(out, &word, 8);
                            in += plain;
                            out += plain;
                        }
                        break;
                    }
                    std::memcpy(out, &word, 8);
                    out += taken;
                    carried = controls == 0 ? (leads >> 63) << 7 : 0;
                }
                in += taken;
                if (controls == 0)
                    continue;
                const char byte = *in;
                const char next = in + 1 < end ? in[1] : '\0';
                if (byte == '\n' || (byte == '\r' && next != '\0'))
                {
                    if (!endEntry())
                    {
                        m_full = true;
                        break;
                    }
                    in += byte == '\r' && next == '\n' ? 2 : 1;
                }
                else if (byte != '\0' && byte != '\r')
                    *out++ = *in++;
                else
                    break; // a zero byte, or a CR that may be half of CR LF
            }
            // Read byte by byte from the lead of the sequence on.
            if (carried != 0)
            {
                --in;
                --out;
            }
            if (in == end || m_full)
                break;
        }
        const auto byte = static_cast<unsigned char>(*in);
        if (byte >= 0x80)
        {
            if (coding == Coding::Windows1252)
            {
                if (!makeRoom(0))
                    break;
                std::memcpy(out, windows1252[byte].bytes.data(), 4);
                out += windows1252[byte].length;
                ++in;
                continue;
            }
            // The block has room to read beyond its end, so four bytes can be copied at
            // once whatever the length.
            const std::size_t length =
                ValidUtf8SequenceLength(std::string_view(in, static_cast<std::size_t>(end - in)));
            if (length > 0)
            {
                std::memcpy(out, in, 4);
                in += length;
                out += length;
            }
            else if (std::memchr(in, '\0', std::min<std::size_t>(4, end - in)) != nullptr)
                end = std::remove(in, end, '\0'); // the sequence may go on after it
            else if (end - in <= static_cast<std::ptrdiff_t>(HeldBytes) && !atEnd)
                break; // the rest of the sequence may come with the next block
            else if (coding == Coding::MarkedUtf8)
            {
                // A file marked as UTF-8 stays UTF-8: only the stray byte is read as
                // Windows-1252.
                if (!makeRoom(0))
                    break;
                std::memcpy(out, windows1252[byte].bytes.data(), 4);
                out += windows1252[byte].length;
                ++in;
            }
            else
            {
                m_coding = coding = Coding::Windows1252;
                if (!ReadAgainAsWindows1252(out, static_cast<std::size_t>(end - in)))
                {
                    m_full = true;
                    break;
                }
                roomEnd = text.Data() + text.Capacity() - Slack;
            }
        }
        else if (byte == '\n')
        {
            if (!endEntry())
            {
                m_full = true;
                break;
            }
            ++in;
        }
        else if (byte == '\r')
        {
            // A CR that ends the block may be the first half of CR LF, and so may one
            // before zero bytes.
            if (in + 1 < end && in[1] == '\0')
            {
                end = std::remove(in, end, '\0');
                continue;
            }
            if (in + 1 == end && !atEnd)
                break;
            if (!endEntry())
            {
                m_full = true;
                break;
            }
            in += in + 1 < end && in[1] == '\n' ? 2 : 1;
        }
        else if (byte == '\0')
            end = std::remove(in, end, '\0');
        else
            *out++ = *in++;
    }
    text.Resize(static_cast<std::size_t>(out - text.Data()));
    m_filled = m_full ? 0 : static_cast<std::size_t>(end - in);
    std::memmove(m_block.data(), in, m_filled);
}

// The text stored so far is the file's bytes without their line ends; each byte from 0x80
// becomes its Windows-1252 character. Walked from its end, the text moves only up, so it is
// rewritten in place, and each line's end moves by what the bytes before it grew.
bool CLineFiller::ReadAgainAsWindows1252(char*& out, std::size_t bytesToCome)
{
    const auto& windows1252 = Windows1252Characters();
    CGrowableArray<char>& text = m_store.m_text;
    CGrowableArray<std::uint32_t>& ends = m_store.m_ends;
    const auto used = static_cast<std::size_t>(out - text.Data());
    std::size_t growth = 0;
    for (std::size_t i = m_firstText; i < used; ++i)
    {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80)
            growth += windows1252[byte].length - 1;
    }
    if (growth == 0)
        return true;
    if (!EnsureRoom(out, growth + bytesToCome))
        return false;
    const std::size_t totalGrowth = growth;
    char* const data = text.Data();
    std::size_t entry = ends.Size();
    for (std::size_t position = used; position > m_firstText; --position)
    {
        while (entry > m_firstEntry && LineStore::EndOf(ends[entry - 1]) == position)
            ends[--entry] += static_cast<std::uint32_t>(growth);
        const auto byte = static_cast<unsigned char>(data[position - 1]);
        if (byte < 0x80)
        {
            data[position - 1 + growth] = static_cast<char>(byte);
            continue;
        }
        const EncodedCharacter& character = windows1252[byte];
        growth -= character.length - 1;
        std::memcpy(data + position - 1 + growth, character.bytes.data(), character.length);
    }
    out = data + used + totalGrowth;
    return true;
}
