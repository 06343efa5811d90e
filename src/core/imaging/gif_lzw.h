#pragma once

// The LZW coder of GIF image data, apart from the file's block structure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kelmor {

// Appends one frame's image data to `out`: the minimum code size byte, the
// codes in data sub-blocks of at most 255 bytes, and the 0x00 terminator.
//
// `minCodeSize` is written as given (the caller raises it to at least 2).
// Pixels are taken row by row from the top, or for an interlaced frame in the
// row order 0, 8, 16, ..., 4, 12, ..., 2, 6, ..., 1, 3, 5, .... A pixel of
// `colorLimit` or more throws Error("Color not in color table"). A null
// `pixels`, or a width or height of 0, gives the end code alone.
//
// Code widths follow a standard decoder: the width grows right after the code
// whose output finds the next free code past the current width's largest code,
// and when the next free code reaches 4095 a clear code follows, so the table
// never assigns 4095 and the width never passes 12 bits.
void gifLzwEncode(std::string& out, int minCodeSize, const std::uint8_t* pixels, int width,
                  int height, bool interlaced, unsigned colorLimit);

// The same coder, keeping its string table from one frame to the next: a file of many frames
// sets the table up once.
class GifLzwEncoder {
public:
    GifLzwEncoder();
    ~GifLzwEncoder();
    GifLzwEncoder(const GifLzwEncoder&) = delete;
    GifLzwEncoder& operator=(const GifLzwEncoder&) = delete;

    // As gifLzwEncode.
    void encode(std::string& out, int minCodeSize, const std::uint8_t* pixels, int width,
                int height, bool interlaced, unsigned colorLimit);

    struct Tables; // the string table, defined with the coder

private:
    std::unique_ptr<Tables> tables_;
};

// Decodes the codes of one frame's data sub-blocks into a pixel buffer, writing
// decoded pixels in the order the codes give them (the caller de-interlaces).
// Feed it the bytes of each data sub-block in turn until it reports that it has
// finished: at the end code, or after one more code has been read once the
// buffer is full. The table works as the GIF standard defines it (clear code
// 2^m, end code 2^m + 1, widths from m + 1 to 12 bits, 4096 entries, no new
// entries once it is full).
class GifLzwDecoder {
public:
    // Starts a frame: codes of minimum code size `minCodeSize` (0 to 11),
    // pixels into out[0, count). Up to 16 bytes of `out` past produced() may
    // be overwritten with scratch values while decoding.
    void start(int minCodeSize, std::uint8_t* out, std::size_t count);

    // Takes the bytes of the next data sub-block; returns true once decoding has
    // finished (further bytes are then ignored). A code that refers to a table
    // entry not yet defined throws Error("Circular decoder table entry").
    bool feed(const std::uint8_t* data, std::size_t size);

    bool finished() const { return finished_; }
    // Pixels written so far, from the start of the buffer.
    std::size_t produced() const { return pos_; }

private:
    void decodeCode(unsigned code);

    std::uint8_t* out_ = nullptr;
    std::size_t count_ = 0;
    std::size_t pos_ = 0;
    std::uint64_t bits_ = 0;
    unsigned bitCount_ = 0;
    unsigned minCodeSize_ = 0;
    unsigned clear_ = 0;
    unsigned width_ = 0;
    unsigned mask_ = 0;
    unsigned next_ = 0;
    bool havePrev_ = false;
    bool finished_ = false;
    std::uint32_t prevOffset_ = 0;
    std::uint32_t prevLength_ = 0;
    // Each code's string lies in the output already: its offset and length there.
    std::uint32_t offset_[4096] = {};
    std::uint32_t length_[4096] = {};
};

} // namespace kelmor
