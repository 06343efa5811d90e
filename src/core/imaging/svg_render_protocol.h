#pragma once

// What the program and its SVG renderer process (kelmor-svg-render) say to each other over the
// socket that is the renderer's standard input and output, and the memory file they share for
// the pixels. Both ends are built from one tree, so the records travel as they lie in memory; the
// magic numbers tell a stray peer.

#include <cstdint>

namespace kelmor::svgrender {

// A request: the record, then `documentBytes` bytes of the SVG document.
inline constexpr std::uint32_t kRequestMagic = 0x4b535631; // "KSV1"
enum class Mode : std::uint32_t { Measure = 1, Render = 2, Fitted = 3 };
struct Request {
    std::uint32_t magic = kRequestMagic;
    Mode mode = Mode::Measure;
    std::int64_t maxPixels = 0; // Render: the picture limit
    std::int64_t edge = 0;      // Fitted: the longest side drawn
    std::uint64_t documentBytes = 0;
};

// The renderer's descriptor of the memory file: a drawn picture's pixels, width * height * 4
// bytes of straight RGBA, lie at its start.
inline constexpr int kPixelsDescriptor = 3;

// An answer: the record, then `payloadBytes` bytes: none for a drawn picture, the message of the
// kelmor::Error the drawing raised for a refused one.
inline constexpr std::uint32_t kAnswerMagic = 0x4b534131; // "KSA1"
enum class Status : std::uint32_t { Drawn = 0, Refused = 1 };
struct Answer {
    std::uint32_t magic = kAnswerMagic;
    Status status = Status::Refused;
    std::int64_t intrinsicWidth = 0; // the document's size in whole pixels
    std::int64_t intrinsicHeight = 0;
    std::int32_t width = 0; // the pixels in the memory file; 0 x 0 for a measure
    std::int32_t height = 0;
    std::uint64_t payloadBytes = 0;
    // The renderer ends after this answer (it retires after a large picture).
    std::uint32_t retiring = 0;
};

// The longest document and error message either end accepts.
inline constexpr std::uint64_t kMaxDocumentBytes = std::uint64_t{128} << 20;
inline constexpr std::uint64_t kMaxMessageBytes = 4096;

} // namespace kelmor::svgrender
