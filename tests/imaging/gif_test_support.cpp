#include "imaging/gif_test_support.h"

#include <cstring>

namespace kelmor::test {
namespace {

struct Input {
    const std::string* bytes;
    std::size_t at = 0;
};

int readInput(GifFileType* file, GifByteType* dst, int n) {
    auto* in = static_cast<Input*>(file->UserData);
    std::size_t left = in->bytes->size() - in->at;
    std::size_t take = std::min<std::size_t>(left, static_cast<std::size_t>(n));
    std::memcpy(dst, in->bytes->data() + in->at, take);
    in->at += take;
    return static_cast<int>(take);
}

std::vector<Rgb> colorsOf(const ColorMapObject* map) {
    std::vector<Rgb> colors;
    if (map)
        for (int i = 0; i < map->ColorCount; ++i)
            colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return colors;
}

} // namespace

GiflibResult giflibDecode(const std::string& bytes) {
    GiflibResult result;
    Input input{&bytes};
    int error = 0;
    GifFileType* file = DGifOpen(&input, readInput, &error);
    if (file == nullptr) {
        result.error = error;
        return result;
    }
    result.ok = DGifSlurp(file) == GIF_OK;
    result.error = file->Error;
    result.width = file->SWidth;
    result.height = file->SHeight;
    result.colorResolution = file->SColorResolution;
    result.globalColors = colorsOf(file->SColorMap);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        GiflibResult::Frame frame{image.ImageDesc.Left,
                                  image.ImageDesc.Top,
                                  image.ImageDesc.Width,
                                  image.ImageDesc.Height,
                                  image.ImageDesc.Interlace,
                                  colorsOf(image.ImageDesc.ColorMap),
                                  {}};
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(file, i, &control) == GIF_OK)
            frame.transparentIndex = control.TransparentColor;
        frame.extensionBlocks = image.ExtensionBlockCount;
        if (image.RasterBits)
            frame.pixels.assign(image.RasterBits,
                                image.RasterBits + std::size_t(frame.width) * frame.height);
        result.frames.push_back(std::move(frame));
    }
    DGifCloseFile(file, &error);
    return result;
}

} // namespace kelmor::test
