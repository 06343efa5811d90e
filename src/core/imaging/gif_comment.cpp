#include "imaging/gif_comment.h"

#include <cstdint>

namespace kelmor {
namespace {

// Reads a GIF's blocks in order, each only as far as its length bytes say.
class GifBlocks {
public:
    explicit GifBlocks(std::string_view bytes) : bytes_(bytes) {}

    bool done() const { return at_ >= bytes_.size(); }
    int byte() { return done() ? -1 : static_cast<std::uint8_t>(bytes_[at_++]); }
    void skip(std::size_t count) { at_ += count; }
    // Skips a colour table when the packed byte announces one.
    void skipColourTable(int packed) {
        if (packed & 0x80)
            skip(std::size_t{3} << ((packed & 0x07) + 1));
    }
    // The data sub-blocks up to their terminator, joined; false when the file ends first.
    bool subBlocks(std::string* text) {
        for (int length = byte(); length != 0; length = byte()) {
            if (length < 0 || at_ + static_cast<std::size_t>(length) > bytes_.size())
                return false;
            if (text)
                text->append(bytes_.substr(at_, static_cast<std::size_t>(length)));
            skip(static_cast<std::size_t>(length));
        }
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

} // namespace

std::optional<std::string> readGifComment(std::string_view bytes) {
    if (bytes.size() < 13 || !bytes.starts_with("GIF"))
        return std::nullopt;
    GifBlocks blocks(bytes);
    blocks.skip(10);
    blocks.skipColourTable(blocks.byte());
    blocks.skip(2);
    while (!blocks.done()) {
        const int introducer = blocks.byte();
        if (introducer == 0x21) {
            std::string comment;
            const bool isComment = blocks.byte() == 0xFE;
            if (!blocks.subBlocks(isComment ? &comment : nullptr))
                return std::nullopt;
            if (isComment)
                return comment;
        } else if (introducer == 0x2C) {
            blocks.skip(8);
            blocks.skipColourTable(blocks.byte());
            blocks.skip(1); // the LZW minimum code size
            if (!blocks.subBlocks(nullptr))
                return std::nullopt;
        } else {
            return std::nullopt; // the trailer, or blocks that make no sense
        }
    }
    return std::nullopt;
}

} // namespace kelmor
