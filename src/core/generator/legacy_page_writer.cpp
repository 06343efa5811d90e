#include "generator/legacy_page_writer.h"

#include "base/product.h"

namespace kelmor {
namespace {

// The <img> name of button k (1-based): "image", then "imagea" to "imagei".
class ImageName {
public:
    explicit ImageName(int k) : length_(k == 1 ? 5 : 6) {
        text_[5] = static_cast<char>('a' + k - 2);
    }
    operator std::string_view() const { return {text_, length_}; }

private:
    char text_[6] = {'i', 'm', 'a', 'g', 'e', '\0'};
    size_t length_;
};

} // namespace

void LegacyPageWriter::write(PageSink& out, const std::vector<PageButton>& buttons,
                             const PageSettings& s) const {
    line(out, {"<!-- Created using Kelmor 1.0 !-->"});
    line(out, {"<!-- Visit: ", product::kWebAddress, " !-->"});
    line(out, {"<html>"});
    line(out, {"<head>"});
    writeScript(out, buttons);
    line(out, {"<title>", s.title, "</title>"});
    line(out, {"</head>"});
    line(out, {"<body bgcolor=\"", s.bgColor, "\"background=\"", s.bgImage, "\">"});
    for (size_t i = 0; i < buttons.size(); ++i)
        writeButton(out, static_cast<int>(i) + 1, buttons[i], s);
    line(out, {"</body>"});
    line(out, {"</html>"});
}

// The sound player, then the preloads of every button's two pictures.
void LegacyPageWriter::writeScript(PageSink& out, const std::vector<PageButton>& buttons) const {
    line(out, {"<script language=\"JavaScript\">"});
    if (withSounds_) {
        line(out, {"function makesound(soundobj){"});
        line(out, {"var thissound= eval(\"document.\"+soundobj)"});
        line(out, {"    thissound.play()"});
        line(out, {"}"});
    }
    line(out, {"<!--hide from ancient browsers"});
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        const Decimal normalVar(2 * k - 1), overVar(2 * k);
        line(out, {"var image", normalVar, " = new Image;"});
        line(out, {"image", normalVar, ".src =\"", buttons[i].normal, "\";"});
        line(out, {"var image", overVar, " = new Image;"});
        line(out, {"image", overVar, ".src =\"", buttons[i].mouseOver, "\";"});
    }
    line(out, {"//-->"});
    line(out, {"</script>"});
}

void LegacyPageWriter::writeButton(PageSink& out, int k, const PageButton& b,
                                   const PageSettings& s) const {
    const Decimal normalVar(2 * k - 1), overVar(2 * k), number(k);
    const ImageName name(k);
    if (withSounds_) {
        line(out, {"<EMBED SRC=\"", b.sound, "\" autostart=false HIDDEN=TRUE NAME=\"sound", number,
                   "\" MASTERSOUND>"});
        line(out, {s.separator, "<a href=\"", b.link, "\" target=\"", b.frame,
                   "\"onMouseOver=\"document.", name, ".src = image", overVar,
                   ".src, makesound('sound", number, "')\""});
    } else {
        line(out, {s.separator, "<a href=\"", b.link, "\" target=\"", b.frame,
                   "\"onMouseOver=\"document.", name, ".src = image", overVar, ".src\""});
    }
    line(out, {"onMouseOut=\"document.", name, ".src = image", normalVar, ".src\"> <img name=\"",
               name, "\" src=\"", b.normal, "\" border=\"0\"></a>"});
}

} // namespace kelmor
