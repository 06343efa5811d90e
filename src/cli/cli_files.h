#pragma once

// What every kelmor-cli command does with the files it names: "-" as an output is standard
// output, an output is never written over one of the command's inputs, and a failure is told
// with the file or option it concerns.

#include "base/error.h"

#include <span>
#include <string>
#include <string_view>

namespace kelmor::cli {

// The output name that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

// The message with "LABEL: " before it, unless it already names LABEL as a file ("Cannot open
// file LABEL", "File LABEL not found", "File LABEL is too large").
std::string labelled(const std::string& label, const std::string& message);

// Runs `step`; an Error it throws goes on labelled with the file it reads or the option whose
// value it checks: "frame3.bmp: Bitmap image is not valid", "--loop: 'abc' is not a valid
// integer value".
template <class Step> decltype(auto) labelErrors(const std::string& label, Step&& step) {
    try {
        return step();
    } catch (const Error& error) {
        throw Error(labelled(label, error.what()));
    }
}

// A command's output: standard output for "-", otherwise a file written through the file writer.
class Output {
public:
    // Fails, before the command does any work, when the name holds a control character ("Cannot
    // create file NAME") or the output is one of its `inputs` (the same file, also through a
    // link, or standard output sent into one of them).
    Output(std::string name, std::span<const std::string> inputs);
    void write(std::string_view bytes) const;

private:
    std::string name_;
};

} // namespace kelmor::cli
