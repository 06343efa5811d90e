// The table of a button style's keys: every key gives back the value it took, refuses what its
// kind refuses, and kelmor-cli's options split their values over the keys they set.
#include "base/error.h"
#include "designer/style_keys.h"
#include "unusual_style.h"

#include <gtest/gtest.h>
#include <set>

namespace kelmor {
namespace {

using test::unusualStyle;

std::string errorOf(const StyleKey& key, std::string_view text) {
    ButtonStyle style;
    try {
        key.take(style, text);
    } catch (const Error& error) {
        return error.what();
    }
    return "taken";
}

class EveryStyleKey : public ::testing::TestWithParam<std::size_t> {
protected:
    const StyleKey& key() const { return styleKeys()[GetParam()]; }
};

TEST_P(EveryStyleKey, TakesBackItsOwnTextAndChangesNothingElse) {
    const ButtonStyle unusual = unusualStyle();
    ButtonStyle style;
    // The mouse-over and current second fills need the first ones set.
    findStyleKey(styleKey::kOverFill)->take(style, colourText(unusual.overFill->top));
    findStyleKey(styleKey::kCurrentFill)->take(style, colourText(unusual.currentFill->top));
    const ButtonStyle before = style;
    key().take(style, key().text(unusual));
    EXPECT_EQ(key().text(style), key().text(unusual));
    EXPECT_NE(key().text(style), key().text(ButtonStyle{})) << "the sample keeps the default";
    for (const StyleKey& other : styleKeys()) {
        if (&other != &key()) {
            EXPECT_EQ(other.text(style), other.text(before)) << other.key;
        }
    }
}

// A font family is any text; every other kind refuses one that is no value of it.
TEST_P(EveryStyleKey, RefusesAnInvalidTextWithItInTheMessage) {
    const std::string error = errorOf(key(), "x!");
    if (key().kind == StyleValueKind::Text) {
        EXPECT_EQ(error, "taken");
    } else {
        EXPECT_NE(error.find("'x!' is not"), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryStyleKey, ::testing::Range<std::size_t>(0, 23),
                         [](const ::testing::TestParamInfo<std::size_t>& row) {
                             return std::string(styleKeys()[row.param].key);
                         });

TEST(StyleKeys, NameEveryKeyAndOptionOnceAndJoinAPairAfterItsOption) {
    ASSERT_EQ(styleKeys().size(), 23u);
    std::set<std::string> keys, options;
    for (std::size_t i = 0; i < styleKeys().size(); ++i) {
        const StyleKey& key = styleKeys()[i];
        EXPECT_TRUE(keys.insert(key.key).second) << key.key;
        EXPECT_EQ(findStyleKey(key.key), &key);
        if (key.option) {
            EXPECT_TRUE(options.insert(key.option).second) << key.option;
        } else {
            EXPECT_TRUE(i > 0 && styleKeys()[i - 1].option) << key.key;
        }
    }
    EXPECT_EQ(findStyleKey("Colour"), nullptr);
}

struct EmptyText {
    const char* key;
    bool taken;
};

class StyleKeyEmptyText : public ::testing::TestWithParam<EmptyText> {};

// Empty stands for the default font, a size from the text, or a value left to the normal state.
TEST_P(StyleKeyEmptyText, IsTakenOnlyWhereItMeansSomething) {
    const StyleKey& key = *findStyleKey(GetParam().key);
    ButtonStyle style = unusualStyle();
    if (!GetParam().taken) {
        EXPECT_NE(errorOf(key, ""), "taken");
        return;
    }
    key.take(style, "");
    EXPECT_EQ(key.text(style), key.text(ButtonStyle{}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StyleKeyEmptyText,
    ::testing::Values(EmptyText{styleKey::kFont, true}, EmptyText{styleKey::kWidth, true},
                      EmptyText{styleKey::kFill2, true}, EmptyText{styleKey::kOverFill, true},
                      EmptyText{styleKey::kOverColor, true},
                      EmptyText{styleKey::kCurrentFill, true},
                      EmptyText{styleKey::kCurrentBorderColor, true},
                      EmptyText{styleKey::kSize, false}, EmptyText{styleKey::kPadding, false},
                      EmptyText{styleKey::kBold, false}, EmptyText{styleKey::kFill, false},
                      EmptyText{styleKey::kShape, false}));

struct OptionCase {
    const char* option;
    const char* value;
    // The texts of the keys the option sets, or the message it fails with.
    std::vector<std::pair<const char*, const char*>> keys;
    const char* message = nullptr;
};

class StyleOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(StyleOption, SetsItsKeysOrFails) {
    ButtonStyle style = unusualStyle();
    if (GetParam().message) {
        try {
            takeStyleOption(style, GetParam().option, GetParam().value);
            ADD_FAILURE() << "accepted";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), GetParam().message);
        }
        return;
    }
    ASSERT_TRUE(takeStyleOption(style, GetParam().option, GetParam().value));
    for (const auto& [key, text] : GetParam().keys)
        EXPECT_EQ(findStyleKey(key)->text(style), text) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Options, StyleOption,
    ::testing::Values(
        OptionCase{"--size", "20", {{"Size", "20"}}}, OptionCase{"--bold", "", {{"Bold", "1"}}},
        OptionCase{"--shape", "RECT", {{"Shape", "rect"}}},
        OptionCase{"--fill", "#aabbcc,#010203", {{"Fill", "#AABBCC"}, {"Fill2", "#010203"}}},
        // Without its second colour the fill is one colour.
        OptionCase{"--fill", "#aabbcc", {{"Fill", "#AABBCC"}, {"Fill2", ""}}},
        OptionCase{"--over-fill", "#112233", {{"OverFill", "#112233"}, {"OverFill2", ""}}},
        OptionCase{"--border", "0,#000000", {{"BorderWidth", "0"}, {"BorderColor", "#000000"}}},
        OptionCase{"--over-border", "#FFFFFF", {{"OverBorderColor", "#FFFFFF"}}},
        OptionCase{"--current-fill",
                   "#010101,#020202",
                   {{"CurrentFill", "#010101"}, {"CurrentFill2", "#020202"}}},
        OptionCase{"--current-color", "#0a0b0c", {{"CurrentColor", "#0A0B0C"}}},
        OptionCase{"--current-border", "#FFFFFF", {{"CurrentBorderColor", "#FFFFFF"}}},
        OptionCase{"--current-border", "#FFF", {}, "'#FFF' is not a colour (#RRGGBB)"},
        OptionCase{"--border", "2", {}, "'2' is not a border width and colour (N,#RRGGBB)"},
        OptionCase{"--border", "x,#000000", {}, "'x' is not a size from 0 to 2000 pixels"},
        OptionCase{"--fill", "#123456,#12345", {}, "'#12345' is not a colour (#RRGGBB)"},
        OptionCase{"--width", "0", {}, "'0' is not a size from 1 to 2000 pixels"},
        OptionCase{"--size", "3", {}, "'3' is not a font size from 4 to 200 points"}));

TEST(StyleOption, AnOptionNoKeyHasIsNotTaken) {
    ButtonStyle style;
    EXPECT_FALSE(takeStyleOption(style, "--format", "png"));
    EXPECT_FALSE(takeStyleOption(style, "--fill2", "#000000"));
    EXPECT_EQ(style, ButtonStyle{});
}

} // namespace
} // namespace kelmor
