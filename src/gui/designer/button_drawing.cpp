#include "designer/button_drawing.h"

#include "base/error.h"
#include "base/messages.h"
#include "designer/button_drawing_module.h"
#include "imaging/picture_qt.h"
#include "ui/program_module.h"
#include "ui/qt_text.h"

namespace kelmor {
namespace {

const ButtonDrawingModule& drawingModule() {
    static QString failure;
    static const auto* const module =
        loadModuleTable<ButtonDrawingModule>(kDrawingModuleFile, kDrawingModuleEntry, failure);
    if (module == nullptr)
        throw Error(msg::drawingUnavailable(toLocal(failure)));
    return *module;
}

// Runs a call of the module, its failure becoming the Error it reports.
template <typename Call> void checked(Call call) {
    if (std::string error; !call(error))
        throw Error(error);
}

} // namespace

ButtonMenu drawButtonMenu(const ButtonStyle& style, std::span<const std::string> texts,
                          ButtonFormat format, bool doubleScale, Colour matte) {
    const ButtonDrawingModule& module = drawingModule();
    ButtonMenu menu;
    checked([&](std::string& error) {
        return module.makeMenu(style, texts, format, doubleScale, matte, menu, error);
    });
    return menu;
}

QImage drawSvg(std::string_view svg) {
    const ButtonDrawingModule& module = drawingModule();
    RgbaImage image;
    checked([&](std::string& error) { return module.renderSvg(svg, image, error); });
    return rgbaView(image).copy();
}

} // namespace kelmor
