// Fills the line store from the bytes of a list or text file as they are read, block by block,
// with the text and the lines that DecodeFileBytes and LineStore::AppendLines give the whole
// file at once. The text is decoded straight into the store, so that no copy of the file, as
// read or as decoded, is held beside it, and the line ends are found a word at a time.
//
// The code page is decided as the bytes come: a file read as UTF-8 until a byte shows that
// it is not, and then the text stored so far is read again as Windows-1252, in place.
#pragma once

#include "runner/LineStore.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class CLineFiller
{
public:
    // Appends to `store`, after the entries it holds. `expectedBytes` is the file's length,
    // for room reserved at once; a file that turns out longer or shorter is read all the same.
    CLineFiller(LineStore& store, std::uint64_t expectedBytes);
    CLineFiller(const CLineFiller&) = delete;
    CLineFiller& operator=(const CLineFiller&) = delete;

    // Room for the next bytes of the file: write them there and hand them over with Take.
    std::span<char> Room();
    // Takes the first `count` bytes of Room.
    void Take(std::size_t count);
    // Takes the next bytes, however many, through Room.
    void Add(std::string_view bytes);
    // The file has ended: the bytes held back for what may follow, and a last line without a
    // line end, are stored. Nothing is taken after it.
    void Finish();

private:
    enum class Coding
    {
        Undecided, // fewer than three bytes seen: a byte order mark may still come
        Utf8,      // valid UTF-8 so far
        MarkedUtf8,
        Windows1252,
    };

    enum class Bytes
    {
        MoreMayFollow, // a sequence or a CR LF cut at the block's end waits for the next block
        FileEnded,
    };
    void Process(Bytes bytes);
    // Makes sure the text has room for `count` more bytes after `out`, which it may move.
    // False when the text would grow past LineStore::MaximumTextBytes.
    bool EnsureRoom(char*& out, std::size_t count);
    // Makes room for `count` more entries; false when the store cannot count that many,
    // after making room for as many as it can.
    bool HasRoomForEntries(std::size_t count);
    // The text of this file stored so far, read as Windows-1252 instead of UTF-8, with room
    // for `bytesToCome` more bytes after it. False when the store has no room for it.
    bool ReadAgainAsWindows1252(char*& out, std::size_t bytesToCome);

    LineStore& m_store;
    std::size_t m_firstEntry;
    std::size_t m_firstText;
    Coding m_coding = Coding::Undecided;
    std::vector<char> m_block;
    std::size_t m_filled = 0; // bytes in m_block: those held back and those taken since
    bool m_finished = false;
    bool m_full = false; // the store can take no more
};
