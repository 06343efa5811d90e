#pragma once

#include "generator/page_kind_writer.h"

namespace kelmor {

// The script-driven pages of the program's first version, every value written as typed and in
// the bytes it came in. The sound page also plays each button's sound as the mouse enters it.
class LegacyPageWriter final : public PageKindWriter {
public:
    explicit LegacyPageWriter(bool withSounds) : withSounds_(withSounds) {}

    void write(PageSink& out, const std::vector<PageButton>& buttons,
               const PageSettings& settings) const override;

private:
    void writeScript(PageSink& out, const std::vector<PageButton>& buttons) const;
    void writeButton(PageSink& out, int k, const PageButton& button,
                     const PageSettings& settings) const;

    bool withSounds_;
};

} // namespace kelmor
