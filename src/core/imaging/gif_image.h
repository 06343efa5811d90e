#pragma once

// GIF pictures, still and animated: the image as the file holds it, a plain value. Decoding,
// encoding, palette work, frame optimisation and bitmap conversion work on it from their own
// headers (gif_decode.h, gif_encode.h, gif_palette.h, gif_frame_optimise.h, gif_bitmap.h).
// Pure C++, no Qt.

#include "imaging/bitmap.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace kelmor {

// Receives the warnings of a decode, an encode or an edit; they never stop it. The program
// passes none, so warnings pass silently; tools and tests collect them.
using GifWarningHandler = std::function<void(const std::string& message)>;

// Table bits of a colour table of `entries` colours: 0 for none, otherwise the
// smallest b >= 1 with 2^b >= entries (1 for 1-2, 2 for 3-4, ..., 8 for 129-256).
int gifTableBits(std::size_t entries);

// A global or local colour table. `sorted` is the descriptor's sort flag.
struct GifColorTable {
    std::vector<Rgb> colors;
    bool sorted = false;

    bool empty() const { return colors.empty(); }
    int size() const { return static_cast<int>(colors.size()); }
    int bits() const { return gifTableBits(colors.size()); }
    friend bool operator==(const GifColorTable&, const GifColorTable&) = default;
};

// The logical screen descriptor and the global colour table.
struct GifHeader {
    std::string version = "89a";         // the version characters as read (a save picks its own)
    std::uint16_t width = 0, height = 0; // logical screen size
    std::uint8_t packed = 0;             // screen descriptor packed byte as read
    std::uint8_t backgroundColorIndex = 0;
    std::uint8_t aspectRatio = 0;
    GifColorTable colorTable; // global table; empty when the file has none
    friend bool operator==(const GifHeader&, const GifHeader&) = default;
};

// Graphic Control Extension (label 0xF9): all fields 0 when created.
struct GifGraphicControlExtension {
    std::uint8_t packed = 0;     // bit 0 transparent colour, bit 1 user input, bits 2-4 disposal
    std::uint16_t delayTime = 0; // hundredths of a second
    std::uint8_t transparentColorIndex = 0;

    bool transparent() const { return packed & 0x01; }
    void setTransparent(bool on) {
        packed = static_cast<std::uint8_t>((packed & ~0x01) | (on ? 1 : 0));
    }
    bool userInput() const { return packed & 0x02; }
    void setUserInput(bool on) {
        packed = static_cast<std::uint8_t>((packed & ~0x02) | (on ? 2 : 0));
    }
    int disposal() const { return (packed >> 2) & 0x07; }
    void setDisposal(int method) {
        packed = static_cast<std::uint8_t>((packed & ~0x1C) | ((method & 0x07) << 2));
    }
    // Keeps the low 16 bits, so -1 becomes 65535.
    void setDelayTime(long long hundredths) { delayTime = static_cast<std::uint16_t>(hundredths); }
    friend bool operator==(const GifGraphicControlExtension&,
                           const GifGraphicControlExtension&) = default;
};

// NETSCAPE2.0 application extension: loop count (0 = for ever) and buffer size.
struct GifLoopExtension {
    std::uint16_t loopCount = 0;
    std::uint32_t bufferSize = 0; // written only when not 0
    // Keeps the low 16 bits, so -1 becomes 65535.
    void setLoopCount(long long count) { loopCount = static_cast<std::uint16_t>(count); }
    friend bool operator==(const GifLoopExtension&, const GifLoopExtension&) = default;
};

// Comment extension (label 0xFE): its data sub-blocks as read.
struct GifCommentExtension {
    std::vector<std::string> blocks;
    std::string text() const; // the sub-blocks joined
    friend bool operator==(const GifCommentExtension&, const GifCommentExtension&) = default;
};

// Plain-text extension (label 0x01): its fixed fields (normally 12 bytes) and text sub-blocks.
struct GifPlainTextExtension {
    std::string fields;
    std::vector<std::string> blocks;
    friend bool operator==(const GifPlainTextExtension&, const GifPlainTextExtension&) = default;
};

// Any other application extension (label 0xFF), kept to be written back.
struct GifApplicationExtension {
    std::string identifier;     // 8 bytes
    std::string authentication; // 3 bytes
    std::vector<std::string> blocks;
    friend bool operator==(const GifApplicationExtension&,
                           const GifApplicationExtension&) = default;
};

using GifExtension = std::variant<GifGraphicControlExtension, GifLoopExtension, GifCommentExtension,
                                  GifPlainTextExtension, GifApplicationExtension>;

// One frame: its extensions in file order, the image descriptor, the local
// colour table and one 8-bit colour index per pixel, rows top to bottom.
struct GifFrame {
    std::vector<GifExtension> extensions;
    bool hasImage = false; // false for a frame of extensions only (no image descriptor)
    std::uint16_t left = 0, top = 0, width = 0, height = 0;
    std::uint8_t packed = 0; // image descriptor packed byte as read (bit 6: interlaced)
    GifColorTable localColorTable;
    std::vector<std::uint8_t> pixels; // width * height indices when hasImage

    bool interlaced() const { return packed & 0x40; }
    // The first graphic control extension of the list, or nullptr.
    GifGraphicControlExtension* graphicControl();
    const GifGraphicControlExtension* graphicControl() const;
    // True when the graphic control extension has its Transparent Color Flag set.
    bool transparent() const;
    unsigned pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // The colour index of the pixel at column 0, row height - 1 (0 for a frame without pixels).
    int bottomLeftColorIndex() const;
    friend bool operator==(const GifFrame&, const GifFrame&) = default;
};

// The header and the frames. Copies are independent values.
class GifImage {
public:
    bool empty() const { return frames_.empty(); }
    void clear();

    GifHeader& header() { return header_; }
    const GifHeader& header() const { return header_; }
    int width() const { return header_.width; }
    int height() const { return header_.height; }

    int frameCount() const { return static_cast<int>(frames_.size()); }
    GifFrame& frame(int index) { return frames_.at(static_cast<std::size_t>(index)); }
    const GifFrame& frame(int index) const { return frames_.at(static_cast<std::size_t>(index)); }
    std::vector<GifFrame>& frames() { return frames_; }
    const std::vector<GifFrame>& frames() const { return frames_; }

    // The frame's local table when it has entries, otherwise the global table.
    const GifColorTable& activeColorTable(int index) const;

    // The colour index of the frame's pixel at column 0, row height - 1.
    int bottomLeftColorIndex(int index) const { return frame(index).bottomLeftColorIndex(); }

    // Appends a new extension (all fields 0) to the frame's extension list. The
    // reference stays valid until that list changes again.
    GifGraphicControlExtension& addGraphicControlExtension(int index);
    GifLoopExtension& addLoopExtension(int index);
    // Sets the Transparent Color Index of the frame's graphic control extension
    // (one is added when the frame has none). An index not below the size of a
    // non-empty active colour table warns "Invalid color index" and stores 0.
    void setTransparentColorIndex(int index, int colorIndex, const GifWarningHandler& warn = {});
    // The first loop extension of any frame, or nullptr.
    const GifLoopExtension* loopExtension() const;

    friend bool operator==(const GifImage&, const GifImage&) = default;

private:
    GifHeader header_;
    std::vector<GifFrame> frames_;
};

// Passes a warning to the handler, if there is one.
void warnGif(const GifWarningHandler& warn, const std::string& message);

} // namespace kelmor
