// Fills the line store from the bytes of a list or text file as they are read, block by block,
// with the text and the lines that DecodeFileBytes and LineStore::AppendLines give the whole
// file at once. No copy of the file, as read or as decoded, is held beside the store.
//
// UTF-8 is its own text: it is read straight into the store, and its line ends are only
// found, not taken out. Once a byte needs more (a zero byte, or one that is not UTF-8), the
// rest goes through a block and is decoded into the store without its line ends.
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

    // While UTF-8 is read in place: room for the rest of the file, which another thread may
    // read into ahead while the bytes before are taken, in order, with Take. Empty when the
    // bytes go through the block. Room must not be asked for until EndReadAhead.
    std::span<char> RoomAhead();
    // Whether the bytes are still read through in place. When not, the bytes read ahead
    // meanwhile are taken all the same, and read through once reading ahead has ended.
    bool TakesAhead() const;
    // No more bytes are read ahead: what was taken and not read through is read now.
    void EndReadAhead();
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
    // Reads through the bytes read into the store since the last time.
    void ProcessInPlace(Bytes bytes);
    // Goes on through the block from `in`, the first byte that in place cannot take, or
    // stops there while bytes are read ahead.
    void LeaveInPlace(const char* in, Bytes bytes);
    void ReadInBlocks(const char* in, Bytes bytes);
    // Where the room for bytes read in place ends: the text's capacity, less what a word
    // written past the text needs, and never past what the store can hold.
    std::size_t InPlaceRoomEnd() const;
    // The block, made when first needed: a file read in place never needs it.
    void MakeBlock();
    // Where the line after the last entry of this file starts, or its text when it has none.
    std::size_t LineStart() const;
    // Takes the line end after the last entry out of the text, and moves the `count` bytes
    // that follow it down in its place.
    void DropLastLineEnd(std::size_t count);
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
    enum class Reading
    {
        InPlace, // into the store, line ends left in the text
        Blocks,  // through m_block, line ends taken out
    };
    Reading m_reading = Reading::InPlace;
    std::size_t m_room = 0;    // in place: the bytes that Room last offered
    std::size_t m_scanned = 0; // in place: the text before this is read through
    bool m_readingAhead = false;
    bool m_leaving = false; // in place no longer, from m_scanned on, once not reading ahead
    std::vector<char> m_block;
    std::size_t m_filled = 0; // bytes in m_block: those held back and those taken since
    bool m_finished = false;
    bool m_full = false; // the store can take no more
};
