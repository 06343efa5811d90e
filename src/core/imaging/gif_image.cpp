#include "imaging/gif_image.h"

#include "base/messages.h"

namespace kelmor {

int gifTableBits(std::size_t entries) {
    if (entries == 0)
        return 0;
    int bits = 1;
    while ((std::size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

void warnGif(const GifWarningHandler& warn, const std::string& message) {
    if (warn)
        warn(message);
}

std::string GifCommentExtension::text() const {
    std::string joined;
    for (const std::string& block : blocks)
        joined += block;
    return joined;
}

GifGraphicControlExtension* GifFrame::graphicControl() {
    for (GifExtension& extension : extensions)
        if (auto* gce = std::get_if<GifGraphicControlExtension>(&extension))
            return gce;
    return nullptr;
}

const GifGraphicControlExtension* GifFrame::graphicControl() const {
    return const_cast<GifFrame*>(this)->graphicControl();
}

bool GifFrame::transparent() const {
    const GifGraphicControlExtension* gce = graphicControl();
    return gce != nullptr && gce->transparent();
}

int GifFrame::bottomLeftColorIndex() const {
    if (width == 0 || height == 0 || pixels.size() < std::size_t(width) * height)
        return 0;
    return pixel(0, height - 1);
}

void GifImage::clear() {
    header_ = GifHeader{};
    frames_.clear();
}

const GifColorTable& GifImage::activeColorTable(int index) const {
    const GifFrame& f = frame(index);
    return f.localColorTable.empty() ? header_.colorTable : f.localColorTable;
}

GifGraphicControlExtension& GifImage::addGraphicControlExtension(int index) {
    auto& extensions = frame(index).extensions;
    return std::get<GifGraphicControlExtension>(
        extensions.emplace_back(GifGraphicControlExtension{}));
}

GifLoopExtension& GifImage::addLoopExtension(int index) {
    auto& extensions = frame(index).extensions;
    return std::get<GifLoopExtension>(extensions.emplace_back(GifLoopExtension{}));
}

void GifImage::setTransparentColorIndex(int index, int colorIndex, const GifWarningHandler& warn) {
    GifGraphicControlExtension* gce = frame(index).graphicControl();
    if (gce == nullptr)
        gce = &addGraphicControlExtension(index);
    const GifColorTable& table = activeColorTable(index);
    if (!table.empty() && (colorIndex < 0 || colorIndex >= table.size())) {
        warnGif(warn, msg::kInvalidColorIndex);
        colorIndex = 0;
    }
    gce->transparentColorIndex = static_cast<std::uint8_t>(colorIndex);
}

const GifLoopExtension* GifImage::loopExtension() const {
    for (const GifFrame& f : frames_)
        for (const GifExtension& extension : f.extensions)
            if (const auto* loop = std::get_if<GifLoopExtension>(&extension))
                return loop;
    return nullptr;
}

} // namespace kelmor
