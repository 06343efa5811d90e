#include "imaging/webp.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>
#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

namespace kelmor {
namespace {

// The longest ANMF duration and the largest ANIM loop count the file format holds.
constexpr int kMaxFrameDuration = (1 << 24) - 1;
constexpr int kMaxLoopCount = 0xFFFF;

const std::uint8_t* dataOf(std::string_view bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

unsigned le24(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16;
}

// What the headers say: the canvas and how many frames it shows.
struct WebpHeader {
    PictureSize canvas;
    int frames = 1;
    bool animated = false;
    bool lossy = false; // a still picture of VP8 data, decoded row by row
};

// libwebp's own memory for one picture decoded to RGBA, per pixel of the canvas, with the
// picture itself: a lossless one decodes into a whole picture of its own first, a lossy one only
// its alpha plane. The animation decoder adds its canvas and the canvas before the frame was
// disposed of, and the frame it hands over is copied.
constexpr std::int64_t kStillLosslessBytesPerPixel = 8;
constexpr std::int64_t kStillLossyBytesPerPixel = 5;
constexpr std::int64_t kAnimationDecoderBytesPerPixel = 12;

std::int64_t decodeBytes(const WebpHeader& header, std::int64_t keptFrames) {
    const std::int64_t pixels = header.canvas.width * header.canvas.height;
    if (!header.animated)
        return pixels * (header.lossy ? kStillLossyBytesPerPixel : kStillLosslessBytesPerPixel);
    return pixels * (kAnimationDecoderBytesPerPixel + 4 * keptFrames);
}

// The canvas an extended (VP8X) file declares. libwebp refuses a canvas past 2^32 pixels as
// damage; read here, such a claim is refused as too large instead.
std::optional<PictureSize> extendedCanvas(std::string_view bytes) {
    const std::uint8_t* data = dataOf(bytes);
    if (bytes.size() < 30 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WEBPVP8X", 8) != 0)
        return std::nullopt;
    return PictureSize{std::int64_t{le24(data + 24)} + 1, std::int64_t{le24(data + 27)} + 1};
}

// Reads the headers, refusing a canvas past `limits` before anything else is looked at.
WebpHeader readHeader(std::string_view bytes, const ImageLimits& limits) {
    if (const auto canvas = extendedCanvas(bytes);
        canvas && !withinImageLimits(canvas->width, canvas->height, limits.maxImagePixels))
        throw Error(msg::kImageTooLarge);
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(dataOf(bytes), bytes.size(), &features) != VP8_STATUS_OK)
        throw Error(msg::kWebpNotValid);
    WebpHeader header;
    header.canvas = {features.width, features.height};
    header.lossy = features.format == 1;
    if (!withinImageLimits(features.width, features.height, limits.maxImagePixels))
        throw Error(msg::kImageTooLarge);
    if (features.has_animation) {
        const WebPData data{dataOf(bytes), bytes.size()};
        const std::unique_ptr<WebPDemuxer, decltype(&WebPDemuxDelete)> demux(WebPDemux(&data),
                                                                             WebPDemuxDelete);
        if (!demux)
            throw Error(msg::kWebpNotValid);
        header.frames = static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_FRAME_COUNT));
        header.animated = true;
        if (header.frames < 1)
            throw Error(msg::kWebpNotValid);
    }
    const std::int64_t pixels = header.canvas.width * header.canvas.height;
    if (pixels > limits.maxTotalPixels / header.frames)
        throw Error(msg::kImageTooLarge);
    return header;
}

RgbaAnimation decodeStill(std::string_view bytes, const WebpHeader& header) {
    RgbaAnimation animation;
    RgbaImage image = RgbaImage::blank(static_cast<int>(header.canvas.width),
                                       static_cast<int>(header.canvas.height));
    if (!WebPDecodeRGBAInto(dataOf(bytes), bytes.size(), image.pixels.data(), image.pixels.size(),
                            image.width * 4))
        throw Error(msg::kWebpNotValid);
    animation.frames.push_back({std::move(image), 0});
    return animation;
}

// The frames composed onto the canvas, the first `maxFrames` of them.
RgbaAnimation decodeAnimated(std::string_view bytes, std::size_t maxFrames) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        throw Error(msg::kWebpNotValid);
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data{dataOf(bytes), bytes.size()};
    const std::unique_ptr<WebPAnimDecoder, decltype(&WebPAnimDecoderDelete)> decoder(
        WebPAnimDecoderNew(&data, &options), WebPAnimDecoderDelete);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info))
        throw Error(msg::kWebpNotValid);
    RgbaAnimation animation;
    animation.loopCount = static_cast<int>(info.loop_count);
    animation.frames.reserve(info.frame_count);
    int previousEnd = 0;
    while (animation.frames.size() < maxFrames && WebPAnimDecoderHasMoreFrames(decoder.get())) {
        std::uint8_t* canvas = nullptr;
        int end = 0;
        if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &end))
            throw Error(msg::kWebpNotValid);
        RgbaImage image;
        image.width = static_cast<int>(info.canvas_width);
        image.height = static_cast<int>(info.canvas_height);
        image.pixels.assign(canvas, canvas + std::size_t(image.width) * image.height * 4);
        animation.frames.push_back({std::move(image), end - previousEnd});
        previousEnd = end;
    }
    if (animation.frames.empty())
        throw Error(msg::kWebpNotValid);
    return animation;
}

// One of libwebp's structures, set up by its init function and released by its free function.
template <class T, auto init, auto release> struct Held {
    T value;
    Held() { init(&value); }
    ~Held() { release(&value); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
};
void initPicture(WebPPicture* picture) {
    WebPPictureInit(picture);
}
void initData(WebPData* data) {
    WebPDataInit(data);
}
void clearData(WebPData* data) {
    WebPDataClear(data);
}
using PictureGuard = Held<WebPPicture, initPicture, WebPPictureFree>;
using DataGuard = Held<WebPData, initData, clearData>;
using MemoryWriter = Held<WebPMemoryWriter, WebPMemoryWriterInit, WebPMemoryWriterClear>;
using MuxPointer = std::unique_ptr<WebPMux, decltype(&WebPMuxDelete)>;

// Past this many pixels to write (a picture, or all frames of an animation together) the
// lossless coder's fastest preset is used: its middle one takes about a second for every
// 5 Mi pixels. On a 4096 x 4096 gradient the fastest takes 0.9 s instead of 3.2 s, for a file of
// 62 KB instead of 6 KB.
constexpr std::int64_t kQuickWebpPixels = std::int64_t{4} << 20;

// Lossless at libwebp's middle preset, as cwebp -lossless encodes, or its fastest for a large
// picture. Pixels with alpha 0 may lose their colour, which nothing shows.
WebPConfig losslessConfig(std::int64_t pixels) {
    WebPConfig config;
    if (!WebPConfigInit(&config) ||
        !WebPConfigLosslessPreset(&config, pixels > kQuickWebpPixels ? 0 : 6))
        throw Error(msg::kOutOfMemory);
    return config;
}

void checkEncodable(const RgbaImage& image) {
    if (image.empty())
        throw Error(msg::kObjectTypeNotSupported);
    if (image.width > WEBP_MAX_DIMENSION || image.height > WEBP_MAX_DIMENSION)
        throw Error(msg::kImageTooLarge);
}

// Fills `picture` with the pixels, in the ARGB form the lossless coder reads.
void importPixels(WebPPicture& picture, const RgbaImage& image) {
    picture.use_argb = 1;
    picture.width = image.width;
    picture.height = image.height;
    if (!WebPPictureImportRGBA(&picture, image.pixels.data(), image.width * 4))
        throw Error(msg::kOutOfMemory);
}

void throwEncodingError(const WebPPicture& picture) {
    throw Error(picture.error_code == VP8_ENC_ERROR_BAD_DIMENSION ? msg::kImageTooLarge
                                                                  : msg::kOutOfMemory);
}

// The file WebPEncode makes of the picture.
std::string encodedToMemory(const WebPConfig& config, WebPPicture& picture) {
    MemoryWriter memory;
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &memory.value;
    if (!WebPEncode(&config, &picture))
        throwEncodingError(picture);
    return {reinterpret_cast<const char*>(memory.value.mem), memory.value.size};
}

// A lossless file of a width x height picture with every pixel transparent.
std::string transparentWebp(int width, int height) {
    WebPConfig config = losslessConfig(0);
    config.method = 0;
    PictureGuard picture;
    picture.value.use_argb = 1;
    picture.value.width = width;
    picture.value.height = height;
    if (!WebPPictureAlloc(&picture.value))
        throw Error(msg::kOutOfMemory);
    for (int y = 0; y < height; ++y)
        std::fill_n(picture.value.argb + std::size_t(y) * picture.value.argb_stride, width, 0u);
    return encodedToMemory(config, picture.value);
}

// The frames libwebp's animation encoder made, one per run of equal input frames (the encoder
// keeps a frame equal to the one before only as a longer duration of that one).
struct EncodedFrames {
    std::vector<WebPMuxFrameInfo> frames;
    std::vector<int> inputCounts; // input frames each one stands for
    ~EncodedFrames() {
        for (WebPMuxFrameInfo& frame : frames)
            WebPDataClear(&frame.bitstream);
    }
};

// Runs the animation encoder with frame i at timestamp i ms, so that each encoded frame's
// duration is the number of input frames it stands for.
void encodeFrames(const RgbaAnimation& animation, EncodedFrames& out) {
    const RgbaImage& first = animation.frames.front().image;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        throw Error(msg::kOutOfMemory);
    options.allow_mixed = 0;
    options.minimize_size = 0;
    const std::unique_ptr<WebPAnimEncoder, decltype(&WebPAnimEncoderDelete)> encoder(
        WebPAnimEncoderNew(first.width, first.height, &options), WebPAnimEncoderDelete);
    if (!encoder)
        throw Error(msg::kOutOfMemory);
    const WebPConfig config = losslessConfig(std::int64_t{first.width} * first.height *
                                             std::int64_t(animation.frames.size()));
    int timestamp = 0;
    for (const RgbaFrame& frame : animation.frames) {
        PictureGuard picture;
        importPixels(picture.value, frame.image);
        if (!WebPAnimEncoderAdd(encoder.get(), &picture.value, timestamp++, &config))
            throwEncodingError(picture.value);
    }
    DataGuard assembled;
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(encoder.get(), &assembled.value))
        throw Error(msg::kOutOfMemory);
    const MuxPointer mux(WebPMuxCreate(&assembled.value, 0), WebPMuxDelete);
    int count = 0;
    if (!mux || WebPMuxNumChunks(mux.get(), WEBP_CHUNK_ANMF, &count) != WEBP_MUX_OK)
        throw Error(msg::kOutOfMemory);
    // A single encoded frame comes back as a still picture, standing for every input frame.
    const bool still = count == 0;
    for (int n = 1; n <= std::max(count, 1); ++n) {
        WebPMuxFrameInfo frame;
        if (WebPMuxGetFrame(mux.get(), static_cast<std::uint32_t>(n), &frame) != WEBP_MUX_OK)
            throw Error(msg::kOutOfMemory);
        out.frames.push_back(frame);
        out.inputCounts.push_back(still ? static_cast<int>(animation.frames.size())
                                        : frame.duration);
        if (still) {
            out.frames.back().x_offset = 0;
            out.frames.back().y_offset = 0;
            out.frames.back().dispose_method = WEBP_MUX_DISPOSE_NONE;
            out.frames.back().blend_method = WEBP_MUX_NO_BLEND;
        }
    }
}

int clampedDuration(int durationMs) {
    return std::clamp(durationMs, 0, kMaxFrameDuration);
}

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

void appendChunk(std::string& out, const char* tag, std::string_view payload) {
    out += tag;
    appendLittleEndian(out, static_cast<std::uint32_t>(payload.size()), 4);
    out += payload;
    if (payload.size() % 2 != 0)
        out += '\0';
}

// An animated file of one frame over the whole canvas. libwebp's muxer writes such a frame as a
// still picture, without its duration and the loop count, so the container is written here: the
// extended header, the animation parameters (transparent background) and the frame, not blended.
std::string singleFrameAnimation(const RgbaFrame& frame, int loopCount) {
    const std::string still = encodeWebp(frame.image);
    if (still.size() < 20 || still.compare(12, 4, "VP8L") != 0)
        throw std::logic_error("lossless coder wrote an unexpected container");
    const std::uint32_t width = static_cast<std::uint32_t>(frame.image.width);
    const std::uint32_t height = static_cast<std::uint32_t>(frame.image.height);
    constexpr std::uint32_t kAnimationFlag = 0x02, kAlphaFlag = 0x10;
    std::string header;
    appendLittleEndian(header, kAnimationFlag | (frame.image.opaque() ? 0 : kAlphaFlag), 4);
    appendLittleEndian(header, width - 1, 3);
    appendLittleEndian(header, height - 1, 3);
    std::string parameters;
    appendLittleEndian(parameters, 0, 4);
    appendLittleEndian(parameters, static_cast<std::uint32_t>(loopCount), 2);
    std::string anmf;
    appendLittleEndian(anmf, 0, 3); // offsets
    appendLittleEndian(anmf, 0, 3);
    appendLittleEndian(anmf, width - 1, 3);
    appendLittleEndian(anmf, height - 1, 3);
    appendLittleEndian(anmf, static_cast<std::uint32_t>(clampedDuration(frame.durationMs)), 3);
    anmf += '\x02'; // not blended, not disposed
    anmf.append(still, 12);
    std::string body = "WEBP";
    appendChunk(body, "VP8X", header);
    appendChunk(body, "ANIM", parameters);
    appendChunk(body, "ANMF", anmf);
    std::string file = "RIFF";
    appendLittleEndian(file, static_cast<std::uint32_t>(body.size()), 4);
    return file + body;
}

} // namespace

RgbaAnimation decodeWebp(std::string_view bytes, const ImageLimits& limits) {
    const WebpHeader header = readHeader(bytes, limits);
    checkMemory(limits, decodeBytes(header, header.frames),
                header.canvas.width * header.canvas.height);
    return header.animated ? decodeAnimated(bytes, std::numeric_limits<std::size_t>::max())
                           : decodeStill(bytes, header);
}

RgbaImage decodeWebpFirstFrame(std::string_view bytes, const ImageLimits& limits) {
    const WebpHeader header = readHeader(bytes, limits);
    checkMemory(limits, decodeBytes(header, 1), header.canvas.width * header.canvas.height);
    RgbaAnimation animation =
        header.animated ? decodeAnimated(bytes, 1) : decodeStill(bytes, header);
    return std::move(animation.frames.front().image);
}

PictureFileSize measureWebp(std::string_view bytes) {
    const WebpHeader header = readHeader(bytes, {});
    return {header.canvas, header.canvas.width * header.canvas.height * header.frames};
}

int webpFrameCount(std::string_view bytes) {
    return readHeader(bytes, {}).frames;
}

std::int64_t webpFirstFrameDecodeBytes(std::string_view bytes) {
    return decodeBytes(readHeader(bytes, {}), 1);
}

std::string encodeWebp(const RgbaImage& image) {
    checkEncodable(image);
    const WebPConfig config = losslessConfig(std::int64_t{image.width} * image.height);
    PictureGuard picture;
    importPixels(picture.value, image);
    return encodedToMemory(config, picture.value);
}

// The encoder's frames are written again with the real durations. Where one encoded frame
// stands for several equal input frames, each further one becomes a fully transparent frame over
// the same rectangle, blended so that it changes nothing, which keeps the frame count, every
// delay and the moment the rectangle is disposed of.
std::string encodeAnimatedWebp(const RgbaAnimation& animation) {
    if (animation.frames.empty())
        throw Error(msg::kObjectTypeNotSupported);
    const RgbaImage& first = animation.frames.front().image;
    checkEncodable(first);
    for (const RgbaFrame& frame : animation.frames) {
        if (frame.image.width != first.width || frame.image.height != first.height)
            throw Error(msg::kObjectTypeNotSupported);
    }
    const int loopCount = std::clamp(animation.loopCount, 0, kMaxLoopCount);
    if (animation.frames.size() == 1)
        return singleFrameAnimation(animation.frames.front(), loopCount);
    EncodedFrames encoded;
    encodeFrames(animation, encoded);

    const MuxPointer mux(WebPMuxNew(), WebPMuxDelete);
    if (!mux)
        throw Error(msg::kOutOfMemory);
    std::size_t input = 0;
    for (std::size_t i = 0; i < encoded.frames.size(); ++i) {
        WebPMuxFrameInfo head = encoded.frames[i];
        const int repeats = encoded.inputCounts[i];
        if (repeats < 1 || input + std::size_t(repeats) > animation.frames.size())
            throw std::logic_error("animation encoder merged frames in an unexpected way");
        const WebPMuxAnimDispose dispose = head.dispose_method;
        head.id = WEBP_CHUNK_ANMF;
        head.duration = clampedDuration(animation.frames[input++].durationMs);
        head.dispose_method = repeats > 1 ? WEBP_MUX_DISPOSE_NONE : dispose;
        if (WebPMuxPushFrame(mux.get(), &head, 1) != WEBP_MUX_OK)
            throw Error(msg::kOutOfMemory);
        if (repeats == 1)
            continue;
        WebPBitstreamFeatures features;
        if (WebPGetFeatures(head.bitstream.bytes, head.bitstream.size, &features) != VP8_STATUS_OK)
            throw Error(msg::kOutOfMemory);
        const std::string blank = transparentWebp(features.width, features.height);
        WebPMuxFrameInfo repeat = head;
        repeat.bitstream = {reinterpret_cast<const std::uint8_t*>(blank.data()), blank.size()};
        repeat.blend_method = WEBP_MUX_BLEND;
        for (int r = 1; r < repeats; ++r) {
            repeat.duration = clampedDuration(animation.frames[input++].durationMs);
            repeat.dispose_method = r + 1 == repeats ? dispose : WEBP_MUX_DISPOSE_NONE;
            if (WebPMuxPushFrame(mux.get(), &repeat, 1) != WEBP_MUX_OK)
                throw Error(msg::kOutOfMemory);
        }
    }
    if (input != animation.frames.size())
        throw std::logic_error("animation encoder lost frames");
    const WebPMuxAnimParams params{0, loopCount};
    DataGuard out;
    if (WebPMuxSetCanvasSize(mux.get(), first.width, first.height) != WEBP_MUX_OK ||
        WebPMuxSetAnimationParams(mux.get(), &params) != WEBP_MUX_OK ||
        WebPMuxAssemble(mux.get(), &out.value) != WEBP_MUX_OK)
        throw Error(msg::kOutOfMemory);
    return {reinterpret_cast<const char*>(out.value.bytes), out.value.size};
}

} // namespace kelmor
