#include "designer/button_picture.h"

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "imaging/cairo_pointers.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_rgba.h"
#include "imaging/png.h"
#include "imaging/svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <pango/pangocairo.h>

namespace kelmor {
namespace {

// Text is laid out at the web's 96 pixels per inch.
constexpr double kPixelsPerInch = 96.0;
// The soft shadow: its offset and blur in pixels, and the room it takes right and below.
constexpr int kShadowOffset = 2;
constexpr double kShadowBlur = 1.5;
constexpr int kShadowRoom = 4;
constexpr const char* kShadowOpacity = "0.45";

struct FontDescriptionFree {
    void operator()(PangoFontDescription* description) const {
        pango_font_description_free(description);
    }
};
struct CairoPathDestroy {
    void operator()(cairo_path_t* path) const { cairo_path_destroy(path); }
};
using ContextPointer = std::unique_ptr<PangoContext, GObjectUnref>;
using LayoutPointer = std::unique_ptr<PangoLayout, GObjectUnref>;
using DescriptionPointer = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

bool genericFamily(std::string_view family) {
    for (const char* generic : {"sans", "sans-serif", "serif", "monospace", "mono", "system-ui"})
        if (equalsIgnoringCase(family, generic))
            return true;
    return false;
}

// A Pango context that lays out outlines the same way on every screen: no hinting, no metrics
// rounding.
ContextPointer outlineContext() {
    ContextPointer context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    pango_cairo_context_set_resolution(context.get(), kPixelsPerInch);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    return context;
}

DescriptionPointer description(const ButtonStyle& style, const std::string& family) {
    DescriptionPointer font(pango_font_description_new());
    pango_font_description_set_family(font.get(), family.c_str());
    pango_font_description_set_weight(font.get(),
                                      style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.get(),
                                     style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_size(font.get(), style.fontSize * PANGO_SCALE);
    return font;
}

// The family Pango gives for the request.
std::string loadedFamily(PangoContext* context, const PangoFontDescription* request) {
    const std::unique_ptr<PangoFont, GObjectUnref> font(
        pango_font_map_load_font(pango_context_get_font_map(context), context, request));
    if (!font)
        return {};
    const DescriptionPointer used(pango_font_describe(font.get()));
    const char* family = pango_font_description_get_family(used.get());
    return family ? family : "";
}

ButtonFont resolveFont(PangoContext* context, const ButtonStyle& style) {
    const std::string family = loadedFamily(context, description(style, style.font).get());
    if (genericFamily(style.font) || equalsIgnoringCase(family, style.font))
        return {style.font, false};
    return {"Sans", true};
}

// A text laid out in a font: its logical box in pixels, the layout's origin inside it.
class TextLayout {
public:
    TextLayout(PangoContext* context, const ButtonStyle& style, const std::string& family,
               std::string_view text)
        : layout_(pango_layout_new(context)) {
        pango_layout_set_font_description(layout_.get(), description(style, family).get());
        pango_layout_set_alignment(layout_.get(), PANGO_ALIGN_CENTER);
        pango_layout_set_text(layout_.get(), text.data(), static_cast<int>(text.size()));
        PangoRectangle logical;
        pango_layout_get_extents(layout_.get(), nullptr, &logical);
        x_ = double(logical.x) / PANGO_SCALE;
        y_ = double(logical.y) / PANGO_SCALE;
        width_ = double(logical.width) / PANGO_SCALE;
        height_ = double(logical.height) / PANGO_SCALE;
    }

    double width() const { return width_; }
    double height() const { return height_; }

    // The outlines as SVG path data, the logical box's top left corner at (left, top).
    std::string pathData(double left, double top) const {
        const CairoSurfacePointer surface(
            cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr));
        const CairoPointer cr(cairo_create(surface.get()));
        cairo_move_to(cr.get(), left - x_, top - y_);
        pango_cairo_layout_path(cr.get(), layout_.get());
        const std::unique_ptr<cairo_path_t, CairoPathDestroy> path(cairo_copy_path(cr.get()));
        std::string data;
        for (int i = 0; path->status == CAIRO_STATUS_SUCCESS && i < path->num_data;
             i += path->data[i].header.length) {
            const cairo_path_data_t* point = &path->data[i];
            switch (point->header.type) {
            case CAIRO_PATH_MOVE_TO:
                appendCommand(data, 'M', point + 1, 1);
                break;
            case CAIRO_PATH_LINE_TO:
                appendCommand(data, 'L', point + 1, 1);
                break;
            case CAIRO_PATH_CURVE_TO:
                appendCommand(data, 'C', point + 1, 3);
                break;
            case CAIRO_PATH_CLOSE_PATH:
                data += 'Z';
                break;
            }
        }
        return data;
    }

private:
    static void appendNumber(std::string& out, double value) {
        char text[32];
        auto [end, error] =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
        std::string_view number(text, static_cast<std::size_t>(end - text));
        while (number.ends_with('0'))
            number.remove_suffix(1);
        if (number.ends_with('.'))
            number.remove_suffix(1);
        out += number == "-0" ? "0" : number;
    }
    static void appendCommand(std::string& out, char command, const cairo_path_data_t* points,
                              int count) {
        out += command;
        for (int k = 0; k < count; ++k) {
            if (k > 0)
                out += ' ';
            appendNumber(out, points[k].point.x);
            out += ' ';
            appendNumber(out, points[k].point.y);
        }
    }

    LayoutPointer layout_;
    double x_ = 0, y_ = 0, width_ = 0, height_ = 0;
};

int shadowRoom(const ButtonStyle& style) {
    return style.shadow ? kShadowRoom : 0;
}

std::string number(double value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end);
}

std::string gradientOrColour(const ButtonFill& fill, std::string& defs) {
    if (fill.none)
        return "none";
    if (!fill.bottom)
        return colourText(fill.top);
    defs += "<linearGradient id=\"fill\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" "
            "stop-color=\"" +
            colourText(fill.top) + "\"/><stop offset=\"1\" stop-color=\"" +
            colourText(*fill.bottom) + "\"/></linearGradient>";
    return "url(#fill)";
}

// Pango lays out UTF-8 only, and takes seconds over tens of thousands of marks or lines, which
// no button of 2000 pixels shows: a longer text is refused before it is laid out.
void checkText(std::string_view text) {
    if (text.empty())
        throw Error(msg::kEmptyButtonText);
    if (!isValidUtf8(text))
        throw Error(msg::kButtonTextNotUtf8);
    const auto characters = std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
    if (characters > kMaxButtonTextCharacters)
        throw Error(format(msg::kButtonTextTooLong, std::to_string(kMaxButtonTextCharacters)));
}

// The size `size` grows to so that the button of `text` fits.
ButtonSize largerSize(const ButtonStyle& style, ButtonSize size, const std::string& text,
                      const TextLayout& layout) {
    const int shapeHeight =
        int(std::ceil(layout.height())) + 2 * (style.padding + style.borderWidth);
    const int ends = style.shape == ButtonShape::Pill ? shapeHeight / 2 : 0;
    const int shapeWidth =
        int(std::ceil(layout.width())) + 2 * (style.padding + style.borderWidth) + ends;
    const ButtonSize needed{style.width ? style.width : shapeWidth + shadowRoom(style),
                            style.height ? style.height : shapeHeight + shadowRoom(style)};
    if (needed.width > kMaxButtonPixels || needed.height > kMaxButtonPixels)
        throw Error(format(msg::kButtonTooLarge, text));
    return {std::max(size.width, needed.width), std::max(size.height, needed.height)};
}

// The text's outlines centred in the shape, on whole pixels so that each button's letters fall
// alike on the pixel grid.
std::string textOutlines(const ButtonStyle& style, ButtonSize size, const TextLayout& layout) {
    const int room = shadowRoom(style);
    return layout.pathData(std::round((size.width - room - layout.width()) / 2),
                           std::round((size.height - room - layout.height()) / 2));
}

// The colours a state draws with.
struct StateColours {
    ButtonFill fill;
    Colour text;
    Colour border;
};

StateColours stateColours(const ButtonStyle& style, ButtonState state) {
    switch (state) {
    case ButtonState::MouseOver:
        return {style.stateFill(state), style.stateColour(state), style.mouseOverBorderColor()};
    case ButtonState::Current:
        return {style.stateFill(state), style.stateColour(state), style.currentPageBorderColor()};
    case ButtonState::Normal:
        break;
    }
    return {style.fill, style.color, style.borderColor};
}

// The document's drawing lies in a viewBox of `size`; its intrinsic size is `scale` times that,
// so a renderer draws the same drawing at that scale.
// The text as XML character data: markup characters escaped, and control characters, which XML
// cannot hold, dropped.
std::string xmlText(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
            escaped += c;
    }
    return escaped;
}

// The title as a text chunk: tEXt while it is ASCII, which every reader takes, iTXt (UTF-8)
// otherwise.
PngText pngTitle(std::string_view title) {
    const bool ascii =
        std::ranges::all_of(title, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return {"Title", std::string(title), !ascii};
}

// A GIF comment of the text, in sub-blocks of at most 255 bytes.
GifCommentExtension gifComment(std::string_view text) {
    constexpr std::size_t kBlockBytes = 255;
    GifCommentExtension comment;
    for (std::size_t at = 0; at < text.size(); at += kBlockBytes)
        comment.blocks.emplace_back(text.substr(at, kBlockBytes));
    return comment;
}

std::string svgDocument(const ButtonStyle& style, ButtonSize size, ButtonState state,
                        const std::string& outlines, std::string_view title, int scale = 1) {
    const StateColours colours = stateColours(style, state);
    const int room = shadowRoom(style);
    const int border = style.borderWidth;
    // The shape's box; a border is stroked on its edge, half inside, so the edge lies half a
    // border in, and a border of whole pixels covers whole pixels.
    const double shapeWidth = std::max(0, size.width - room - border);
    const double shapeHeight = std::max(0, size.height - room - border);
    const double inset = border / 2.0;
    double corner = 0;
    if (style.shape == ButtonShape::Pill)
        corner = shapeHeight / 2;
    else if (style.shape == ButtonShape::Rounded)
        corner = std::min<double>(style.radius, std::min(shapeWidth, shapeHeight) / 2);
    const std::string box = "x=\"" + number(inset) + "\" y=\"" + number(inset) + "\" width=\"" +
                            number(shapeWidth) + "\" height=\"" + number(shapeHeight) + "\" rx=\"" +
                            number(corner) + "\"";

    std::string defs;
    const std::string fill = gradientOrColour(colours.fill, defs);
    std::string body;
    if (style.shadow) {
        defs += "<filter id=\"shadow\" filterUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=\"" +
                std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) +
                "\"><feGaussianBlur in=\"SourceAlpha\" stdDeviation=\"" + number(kShadowBlur) +
                "\"/><feOffset dx=\"" + std::to_string(kShadowOffset) + "\" dy=\"" +
                std::to_string(kShadowOffset) + "\"/></filter>";
        body += "<rect " + box + " fill=\"#000000\" fill-opacity=\"" + kShadowOpacity +
                "\" filter=\"url(#shadow)\"/>";
    }
    body += "<rect " + box + " fill=\"" + fill + "\"";
    if (border > 0)
        body += " stroke=\"" + colourText(colours.border) + "\" stroke-width=\"" +
                std::to_string(border) + "\"";
    body += "/>";

    body += "<path fill=\"" + colourText(colours.text) + "\" d=\"" + outlines + "\"/>";

    const std::string width = std::to_string(size.width), height = std::to_string(size.height);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(size.width * scale) + "\" height=\"" +
           std::to_string(size.height * scale) + "\" viewBox=\"0 0 " + width + " " + height +
           "\"><title>" + xmlText(title) + "</title>" +
           (defs.empty() ? std::string() : "<defs>" + defs + "</defs>") + body + "</svg>\n";
}

// The buttons of the texts with their names and no pictures yet, refusing two that would write
// one file.
std::vector<MadeButton> namedButtons(std::span<const std::string> texts, ButtonFormat format,
                                     bool doubled) {
    std::vector<MadeButton> buttons;
    // Every file the menu writes with the text of the button writing it.
    std::map<std::string, std::string_view> files;
    for (const std::string& text : texts) {
        checkText(text);
        MadeButton button;
        button.text = text;
        button.name = fileSafeName(text);
        button.format = format;
        button.doubled = doubled;
        for (const ButtonPicture& picture : button.pictures())
            if (const auto [at, added] = files.try_emplace(picture.file, text); !added)
                throw Error(msg::buttonFilesClash(std::string(at->second), text, picture.file));
        buttons.push_back(std::move(button));
    }
    return buttons;
}

} // namespace

ButtonFont resolveButtonFont(const ButtonStyle& style) {
    const ContextPointer context = outlineContext();
    ButtonFont font = resolveFont(context.get(), style);
    if (font.fellBack)
        font.family = loadedFamily(context.get(), description(style, font.family).get());
    return font;
}

ButtonSize menuButtonSize(const ButtonStyle& style, std::span<const std::string> texts) {
    const ContextPointer context = outlineContext();
    const std::string family = resolveFont(context.get(), style).family;
    ButtonSize size{style.width, style.height};
    for (const std::string& text : texts) {
        checkText(text);
        size = largerSize(style, size, text, TextLayout(context.get(), style, family, text));
    }
    return size;
}

std::string buttonSvg(const ButtonStyle& style, std::string_view text, ButtonSize size,
                      ButtonState state) {
    checkText(text);
    const ContextPointer context = outlineContext();
    const TextLayout layout(context.get(), style, resolveFont(context.get(), style).family, text);
    return svgDocument(style, size, state, textOutlines(style, size, layout), text);
}

std::string buttonFile(std::string_view svg, ButtonFormat format, std::string_view title,
                       Colour matte) {
    switch (format) {
    case ButtonFormat::Svg:
        return std::string(svg);
    case ButtonFormat::Gif: {
        GifImage gif = gifFromRgba(onMatte(renderSvg(svg), {matte.red, matte.green, matte.blue}),
                                   ColourReduction::MedianCut);
        if (!title.empty()) {
            std::vector<GifExtension>& extensions = gif.frame(0).extensions;
            extensions.insert(extensions.begin(), gifComment(title));
        }
        return encodeGif(gif);
    }
    case ButtonFormat::Png:
        break;
    }
    std::vector<PngText> text;
    if (!title.empty())
        text.push_back(pngTitle(title));
    return encodePngFast(renderSvg(svg), text, PngContent::Drawn);
}

ButtonMenu makeButtonMenu(const ButtonStyle& style, std::span<const std::string> texts,
                          ButtonFormat format, bool doubleScale, Colour matte) {
    ButtonMenu menu;
    menu.font = resolveButtonFont(style);
    menu.buttons = namedButtons(texts, format, doubleScale && format != ButtonFormat::Svg);
    // Each text is laid out once, for the common size and then for every picture's outlines.
    const ContextPointer context = outlineContext();
    const std::string family = resolveFont(context.get(), style).family;
    std::vector<TextLayout> layouts;
    menu.size = {style.width, style.height};
    for (const std::string& text : texts) {
        layouts.emplace_back(context.get(), style, family, text);
        menu.size = largerSize(style, menu.size, text, layouts.back());
    }
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        const std::string outlines = textOutlines(style, menu.size, layouts[i]);
        MadeButton& button = menu.buttons[i];
        for (const ButtonPicture& picture : button.pictures())
            button.picture(picture.state, picture.scale) = buttonFile(
                svgDocument(style, menu.size, picture.state, outlines, button.text, picture.scale),
                format, button.text, matte);
    }
    return menu;
}

} // namespace kelmor
