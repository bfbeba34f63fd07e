#include "runner/FileText.h"

#include "platform/CodePage.h"
#include "runner/LineFiller.h"

#include <algorithm>
#include <atomic>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

namespace
{

constexpr std::size_t blockBytes = 64 * 1024;

} // namespace

std::string ReadFileBytes(CReadOnlyFile& file)
{
    // The file may have grown or shrunk since it was opened: read until the end comes,
    // whatever Length said, but never past the limit that the open enforced.
    constexpr auto limit = static_cast<std::size_t>(MaximumFileBytes);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::min(file.Length(), MaximumFileBytes)) + 1);
    while (bytes.size() < limit)
    {
        // Fill the room reserved first: a block beyond it would leave every file, however
        // short, holding a block and more. Only a file that has grown needs another block.
        const std::size_t filled = bytes.size();
        const std::size_t room = bytes.capacity() - filled;
        const std::size_t wanted = std::min(room > 0 ? room : blockBytes, limit - filled);
        bytes.resize(filled + wanted);
        const std::size_t read = file.Read(bytes.data() + filled, wanted);
        bytes.resize(filled + read);
        if (read == 0)
            break;
    }
    return bytes;
}

Text ReadFileText(CReadOnlyFile& file)
{
    return DecodeFileBytes(ReadFileBytes(file));
}

namespace
{

// From this length a file is read ahead: below it, starting a thread costs more than it saves.
constexpr std::uint64_t readAheadBytes = 4 * 1024 * 1024;
// How far the thread reads ahead of the bytes taken: what the filler has to set apart when it
// stops reading in place, and the room of the ring.
constexpr std::size_t aheadLimit = 1024 * 1024;
constexpr std::size_t aheadBlockBytes = 256 * 1024;
constexpr int spinsBeforeSleep = 2000;
// Set in the count of bytes read once the thread has ended, and in the count of bytes taken
// to ask it to end.
constexpr std::size_t endedBit = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);

// Where the thread reads to.
enum class AheadRoom
{
    Straight, // the place of the rest of the file: each byte read where it stays
    Ring,     // a few blocks used again and again, each taken before it is read into again
};

// The thread that reads the rest of a file, a block at a time, never more than aheadLimit past
// the bytes taken. Ended and joined when it goes out of scope.
class CReadAheadThread
{
public:
    // Reads at most `most` bytes to `room`.
    CReadAheadThread(CReadOnlyFile& file, std::span<char> room, AheadRoom layout, std::size_t most)
        : m_file(file), m_room(room), m_layout(layout), m_most(most)
    {
    }
    CReadAheadThread(const CReadAheadThread&) = delete;
    CReadAheadThread& operator=(const CReadAheadThread&) = delete;
    ~CReadAheadThread() { End(); }

    // False when no thread could be started.
    bool Start()
    {
        try
        {
            m_thread = std::thread([this] { Run(); });
        }
        catch (const std::system_error&)
        {
            return false;
        }
        return true;
    }
    // Waits until more than `count` bytes are read or the thread has ended, and gives the
    // bytes read, with endedBit once it has ended.
    std::size_t WaitBeyond(std::size_t count)
    {
        std::size_t read = m_read.load(std::memory_order_acquire);
        // A block comes every few hundred microseconds: waiting a while without sleeping
        // spares the wake-up that costs a good part of that.
        for (int i = 0; i < spinsBeforeSleep && read == count; ++i)
        {
            std::this_thread::yield();
            read = m_read.load(std::memory_order_acquire);
        }
        while (read == count)
        {
            m_read.wait(read, std::memory_order_acquire);
            read = m_read.load(std::memory_order_acquire);
        }
        return read;
    }
    void Taken(std::size_t count)
    {
        m_taken.store(count, std::memory_order_release);
        m_taken.notify_one();
    }
    // Asks the thread to end and waits for it; gives the bytes it read.
    std::size_t End()
    {
        if (m_thread.joinable())
        {
            Taken(endedBit);
            m_thread.join();
        }
        return m_read.load(std::memory_order_acquire) & ~endedBit;
    }

private:
    void Run()
    {
        const bool ring = m_layout == AheadRoom::Ring;
        const std::size_t ahead = ring ? m_room.size() : aheadLimit;
        std::size_t read = 0;
        while (read < m_most)
        {
            std::size_t taken = m_taken.load(std::memory_order_acquire);
            while (taken != endedBit && read - taken >= ahead)
            {
                m_taken.wait(taken, std::memory_order_acquire);
                taken = m_taken.load(std::memory_order_acquire);
            }
            if (taken == endedBit)
                break;
            // In the ring, a read stops at its end and goes on at its start.
            const std::size_t at = ring ? read % m_room.size() : read;
            const std::size_t count = m_file.Read(
                m_room.data() + at, std::min({aheadBlockBytes, m_room.size() - at, m_most - read}));
            if (count == 0)
                break;
            read += count;
            m_read.store(read, std::memory_order_release);
            m_read.notify_one();
        }
        m_read.store(read | endedBit, std::memory_order_release);
        m_read.notify_one();
    }

    CReadOnlyFile& m_file;
    const std::span<char> m_room;
    const AheadRoom m_layout;
    const std::size_t m_most;
    std::atomic<std::size_t> m_read{0};
    std::atomic<std::size_t> m_taken{0};
    std::thread m_thread;
};

// Reads at most `most` more bytes of the file on a second thread, straight into the store
// while the filler reads UTF-8 in place, while it finds the lines of the bytes before. Gives
// how many were read; none when the filler cannot take them so or no thread starts.
std::size_t ReadAheadInPlace(CReadOnlyFile& file, CLineFiller& filler, std::size_t most)
{
    const std::span<char> room = filler.RoomAhead();
    const std::size_t wanted = std::min(room.size(), most);
    CReadAheadThread reader(file, room, AheadRoom::Straight, wanted);
    if (wanted == 0 || !reader.Start())
    {
        filler.EndReadAhead();
        return 0;
    }
    std::size_t taken = 0;
    for (;;)
    {
        const std::size_t read = reader.WaitBeyond(taken);
        const std::size_t count = read & ~endedBit;
        filler.Take(count - taken);
        taken = count;
        if ((read & endedBit) != 0 || !filler.TakesAhead())
            break;
        reader.Taken(taken);
    }
    // What was read after the filler stopped reading in place is its all the same.
    const std::size_t read = reader.End();
    filler.Take(read - taken);
    filler.EndReadAhead();
    return read;
}

// Reads at most `most` more bytes of the file on a second thread, into a ring of blocks that
// the filler takes through its own block. Gives how many were read; none when no thread
// starts.
std::size_t ReadAheadThroughRing(CReadOnlyFile& file, CLineFiller& filler, std::size_t most)
{
    std::vector<char> ring(aheadLimit);
    CReadAheadThread reader(file, ring, AheadRoom::Ring, most);
    if (most == 0 || !reader.Start())
        return 0;
    std::size_t taken = 0;
    for (bool ended = false; !ended;)
    {
        const std::size_t read = reader.WaitBeyond(taken);
        ended = (read & endedBit) != 0;
        const std::size_t count = read & ~endedBit;
        while (taken < count)
        {
            const std::size_t at = taken % ring.size();
            const std::size_t piece = std::min(count - taken, ring.size() - at);
            filler.Add(std::string_view(ring.data() + at, piece));
            taken += piece;
        }
        reader.Taken(taken);
    }
    return taken;
}

} // namespace

void AppendFileLines(CReadOnlyFile& file, LineStore& store, ReadAhead readAhead)
{
    constexpr auto limit = static_cast<std::size_t>(MaximumFileBytes);
    CLineFiller filler(store, std::min(file.Length(), MaximumFileBytes));
    std::size_t total = 0;
    bool first = true;
    while (total < limit)
    {
        const std::span<char> room = filler.Room();
        const std::size_t read = file.Read(room.data(), std::min(room.size(), limit - total));
        if (read == 0)
            break;
        total += read;
        filler.Take(read);
        // The first block decides the code page; the rest of a long file is read ahead, in
        // place while it can be, and through the ring from where it no longer can.
        if (first && (readAhead == ReadAhead::Always ||
                      (file.Length() >= readAheadBytes && std::thread::hardware_concurrency() > 1)))
        {
            total += ReadAheadInPlace(file, filler, limit - total);
            if (!filler.TakesAhead())
                total += ReadAheadThroughRing(file, filler, limit - total);
        }
        first = false;
    }
    filler.Finish();
}
