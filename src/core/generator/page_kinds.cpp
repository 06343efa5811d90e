#include "generator/page_kinds.h"

#include "base/error.h"
#include "base/messages.h"
#include "generator/html5_page_writer.h"
#include "generator/legacy_page_writer.h"
#include "generator/menu_page_writer.h"

#include <array>
#include <stdexcept>
#include <string>

namespace kelmor {

struct PageKindRow {
    std::string_view name;
    std::string_view caption;
    PageTraits traits;
    const PageKindWriter& writer;
};

namespace {

// The table of page kinds: a new kind is a row here and its writer.
const std::vector<PageKind>& table() {
    static const LegacyPageWriter plain(false), sound(true);
    static const Html5PageWriter html5(false), html5Sound(true);
    static const MenuPageWriter menu{};
    static const std::array<PageKindRow, 5> rows{{
        {"plain", "the rollover page", {false, false}, plain},
        {"sound", "the rollover page that also plays each button's sound", {true, false}, sound},
        {"html5", "the rollover page in today's HTML", {false, true}, html5},
        {"html5-sound",
         "the HTML5 page that also plays each button's sound",
         {true, true},
         html5Sound},
        {"menu", "the site menu on a page of today's HTML", {false, true}, menu},
    }};
    static const std::vector<PageKind> kinds(rows.begin(), rows.end());
    return kinds;
}

// "plain, sound, html5, html5-sound or menu".
std::string kindNames() {
    std::string names;
    const std::vector<PageKind>& kinds = table();
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            names += i + 1 == kinds.size() ? " or " : ", ";
        names += kinds[i].name();
    }
    return names;
}

} // namespace

std::string_view PageKind::name() const {
    return row_->name;
}

std::string_view PageKind::caption() const {
    return row_->caption;
}

PageTraits PageKind::traits() const {
    return row_->traits;
}

const PageKindWriter& PageKind::writer() const {
    return row_->writer;
}

const std::vector<PageKind>& pageKinds() {
    return table();
}

PageKind pageKindNamed(std::string_view name) {
    for (PageKind kind : table())
        if (kind.name() == name)
            return kind;
    throw Error(format(msg::kUnknownPageKind, std::string(name)) + " (" + kindNames() + ")");
}

PageKind pageKindWith(PageTraits traits) {
    for (PageKind kind : table())
        if (kind.traits() == traits)
            return kind;
    throw std::logic_error("the table of page kinds has no kind of the traits asked for");
}

} // namespace kelmor
