#include "designer/button_drawing_module.h"
#include "designer/button_picture.h"
#include "imaging/svg.h"

#include <exception>

namespace {

// Runs a drawing, handing its failure over as a message.
template <typename Drawing> bool reported(std::string& error, Drawing drawing) {
    try {
        drawing();
        return true;
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
}

const kelmor::ButtonDrawingModule kModule{
    [](const kelmor::ButtonStyle& style, std::span<const std::string> texts,
       kelmor::ButtonFormat format, bool doubleScale, kelmor::Colour matte,
       kelmor::ButtonMenu& menu, std::string& error) {
        return reported(error, [&] {
            menu = kelmor::makeButtonMenu(style, texts, format, doubleScale, matte);
        });
    },
    [](std::string_view svg, kelmor::RgbaImage& image, std::string& error) {
        return reported(error, [&] { image = kelmor::renderSvg(svg); });
    },
};

} // namespace

// The one symbol the module exports.
extern "C" __attribute__((visibility("default"))) const kelmor::ButtonDrawingModule*
kelmor_drawing_module() {
    return &kModule;
}
