#include "base/reported_failure.h"
#include "designer/button_drawing_module.h"
#include "designer/button_picture.h"
#include "imaging/svg.h"

namespace {

const kelmor::ButtonDrawingModule kModule{
    [](const kelmor::ButtonStyle& style, std::span<const std::string> texts,
       kelmor::ButtonFormat format, bool doubleScale, kelmor::Colour matte,
       kelmor::ButtonMenu& menu, std::string& error) {
        return kelmor::reportedFailure(error, [&] {
            menu = kelmor::makeButtonMenu(style, texts, format, doubleScale, matte);
        });
    },
    [](std::string_view svg, kelmor::RgbaImage& image, std::string& error) {
        return kelmor::reportedFailure(error, [&] { image = kelmor::renderSvg(svg); });
    },
};

} // namespace

// The one symbol the module exports.
extern "C" __attribute__((visibility("default"))) const kelmor::ButtonDrawingModule*
kelmor_drawing_module() {
    return &kModule;
}
