#include "hostile_corpus.h"

#include "imaging/hostile_pictures.h"
#include "support/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <numbers>
#include <regex>
#include <signal.h>
#include <sndfile.h>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace kelmor::test {
namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

std::string readBytes(const fs::path& file) {
    return fileBytes(file);
}

std::string repeated(const std::string& word, int times) {
    std::string words;
    for (int i = 0; i < times; ++i)
        words += (i ? " " : "") + word;
    return words;
}

// --- GIF --------------------------------------------------------------------------------------

std::string le16(int v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF)};
}

// A GIF89a header with a width x height screen and a black and white global table.
std::string gifScreen(int width, int height) {
    return "GIF89a" + le16(width) + le16(height) + std::string("\x80\0\0", 3) +
           std::string("\0\0\0\xff\xff\xff", 6);
}

// An image at the screen's corner with the given LZW code size and sub-blocks.
std::string gifFrame(int width, int height, const std::string& data) {
    return "," + le16(0) + le16(0) + le16(width) + le16(height) + '\0' + data;
}

// Clear code, index 1, end code: one pixel, the rest of a larger frame missing.
const std::string kOnePixel("\x02\x02\x4c\x01\x00", 5);
// Clear code, index 3 (past the two-colour table), end code.
const std::string kIndexPastTable("\x02\x02\x5c\x01\x00", 5);
// No pixels at all.
const std::string kNoPixels("\x02\x00", 2);

// LZW codes packed from the least significant bit, as GIF stores them.
class BitWriter {
public:
    void put(int code, int width) {
        pending_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        for (; count_ >= 8; count_ -= 8, pending_ >>= 8)
            bytes_ += char(pending_ & 0xFF);
    }
    std::string finish() { return count_ ? bytes_ + char(pending_ & 0xFF) : bytes_; }

private:
    std::string bytes_;
    std::uint32_t pending_ = 0;
    int count_ = 0;
};

// The LZW data of `pixels` pixels of index 0, coded as an encoder does that keeps its full table
// instead of clearing it: every code after the first 4090 stands for 4091 pixels.
std::string zeroRunLzw(std::int64_t pixels) {
    constexpr int kClear = 4, kEnd = 5, kFirstFree = 6, kTableSize = 4096;
    BitWriter bits;
    int width = 3, next = kFirstFree;
    std::int64_t longest = 1; // the longest run of zeros the table holds; code run + 4
    bits.put(kClear, width);
    while (pixels > 0) {
        const std::int64_t run = std::min(longest, pixels);
        bits.put(run == 1 ? 0 : static_cast<int>(run + 4), width);
        pixels -= run;
        if (next >= (1 << width) && width < 12)
            ++width;
        if (pixels > 0 && next < kTableSize) {
            ++next;
            ++longest;
        }
    }
    bits.put(kEnd, width);
    const std::string data = bits.finish();
    std::string blocks = "\x02";
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        blocks += char(block.size()) + block;
    }
    return blocks + '\0';
}

// A GIF whose screen and `frames` frames of `side` x `side` pixels each hold `data`.
std::string squareGif(int screen, int side, int frames, const std::string& data) {
    std::string gif = gifScreen(screen, screen);
    for (int i = 0; i < frames; ++i)
        gif += gifFrame(side, side, data);
    return gif + ";";
}

// --- WAV and projects -------------------------------------------------------------------------

// A 440 Hz sine of `frames` frames, mono at 8000 Hz, in the libsndfile encoding given.
void writeSine(const fs::path& file, int subformat, sf_count_t frames) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | subformat;
    SNDFILE* sound = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!sound)
        throw std::runtime_error(sf_strerror(nullptr));
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 440 * double(i) / 8000.0));
    sf_writef_float(sound, samples.data(), frames);
    sf_close(sound);
}

// A project of one button with the given BG Color and Target Page.
std::string project(const std::string& bgColor, const std::string& targetPage) {
    return "13,2\r\n0,1,n1.gif\r\n4,1,p1.html\r\n10,1," + bgColor + "\r\n12,1," + targetPage +
           "\r\n";
}

std::string tinyName(int i) {
    return (i < 10 ? "tiny0" : "tiny") + std::to_string(i) + ".gif";
}

} // namespace

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name << " (kelmor-cli " << c.arguments << ")";
}

void writeHostileCorpus(const fs::path& site) {
    fs::create_directories(site);
    const auto file = [&](const std::string& name, const std::string& bytes) {
        writeBytes(site / name, bytes);
    };
    // An 8192 x 8192 frame is the largest square one; four fill the assembly's 256 Mi pixels.
    for (int i = 1; i <= 20; ++i)
        file(tinyName(i), squareGif(1, 8192, 4, kOnePixel));
    file("small.gif", squareGif(4, 4, 1, kOnePixel));
    file("n1.gif", squareGif(4, 4, 1, kOnePixel));
    file("badindex.gif", squareGif(1, 1, 1, kIndexPastTable));
    file("lzw.gif", squareGif(8192, 8192, 4, zeroRunLzw(std::int64_t{8192} * 8192)));
    file("empty.gif", squareGif(8192, 8192, 4, kNoPixels));

    file("junk.jpg", emptyJpeg(8192, 8192, 1, std::string(1, '\0')));
    std::string comments;
    for (int i = 0; i < 1100; ++i)
        comments += jpegSegment(0xFE, "");
    file("segments.jpg", emptyJpeg(8192, 8192, 1, comments));
    file("scans.jpg", emptyProgressiveJpeg(8192, 8192, 1, 10000));
    // Adobe's marker with no colour transform: four components are CMYK.
    file("cmyk.jpg",
         emptyProgressiveJpeg(8192, 7900, 4, 1,
                              jpegSegment(0xEE, std::string("Adobe\0\x64\0\0\0\0\0", 12))));

    writeSine(site / "gsm.wav", SF_FORMAT_GSM610, 480000);
    // A data chunk claiming nearly 4 GiB in a file holding 1000 frames.
    writeSine(site / "claims.wav", SF_FORMAT_PCM_16, 1000);
    std::string claims = readBytes(site / "claims.wav");
    claims.replace(claims.find("data") + 4, 4, "\xF0\xF0\xF0\xF0");
    file("claims.wav", claims);

    // Sides claimed by small PNG, WebP and SVG files.
    file("huge.png", claimingPng(100000, 100000));
    file("huge.webp", claimingWebp(100000, 100000));
    file("huge.svg", claimingSvg(100000, 100000));

    // Small files of large pictures, each costing gigabytes or seconds to decode in full. The
    // large ones are made once: every case writes the corpus anew.
    file("anim4.webp", flatAnimatedWebp(8192, 8192, 4, 8192, 8192));
    file("anim1.webp", flatAnimatedWebp(8192, 8192, 1, 8192, 8192));
    file("still.webp", flatWebp(8192, 8192));
    static const std::string manyFrames = flatAnimatedWebp(128, 128, 16384, 128, 128);
    file("many.webp", manyFrames);
    static const std::string gradient = gradientPng(8192, 8192, 8);
    file("gradient.png", gradient);
    static const std::string deep = gradientPng(8192, 8192, 16);
    file("deep.png", deep);
    static const std::string lateText = gradientPng(8192, 8192, 8, zTxtChunk(6 << 20));
    file("late-text.png", lateText);
    static const std::string tall = tallPng(64 << 20);
    file("tall.png", tall);
    // SVG documents that crash librsvg or outrun any bound, for its renderer process to contain.
    file("convolve.svg", convolveOrderSvg());
    file("hugefont.svg", hugeFontSvg());
    file("markers.svg", selfMarkingPathSvg(20000));
    file("blur.svg", blurredSquareSvg(8192));
    file("datapngs.svg", dataPngsSvg(2000));
    file("datasvg.svg", dataSvgPictureSvg(8192));
    file("paths.svg", manyPathsSvg(40000));

    file("README", "Not a picture.\n");
    fs::create_directory(site / "folder.gif");
    for (const char* pipe : {"f.gif", "f.wav", "f.kxq"}) {
        if (::mkfifo((site / pipe).c_str(), 0644) != 0)
            throw std::runtime_error("cannot make the named pipe " + std::string(pipe));
    }

    file("plain.kxq", project("#FFFFFF", "plain.html"));
    file("escape.kxq", project("#FFFFFF", "../escape.html"));
    file("absolute.kxq", project("#FFFFFF", (site.parent_path() / "absolute.html").string()));
    file("ownpicture.kxq", project("#FFFFFF", "n1.gif"));
    file("script.kxq", project("#FFFFFF", "x.sh"));
    // Target Pages that hold a NUL: a writer that stopped reading the name there would replace
    // files of the project's folder that are no web pages.
    file("victim.txt", "The user's notes.\n");
    fs::create_directory(site / "sub");
    file("sub/victim.csv", "a,b\n");
    file("nul.kxq", project("#FFFFFF", std::string("victim.txt\0.html", 16)));
    file("nulsub.kxq", project("#FFFFFF", std::string("sub/victim.csv\0x.html", 21)));
    file("bgcolor.kxq",
         project("#fff; background-image:url(http://127.0.0.1:9/beacon); visibility:hidden",
                 "bgcolor.html"));
}

std::vector<HostileCase> hostileCases() {
    using enum Outcome;
    const auto refused = [](std::string name, std::string arguments, std::string err,
                            std::string untouched = {}) {
        return HostileCase{.name = std::move(name),
                           .arguments = std::move(arguments),
                           .outcome = Refused,
                           .err = std::move(err),
                           .untouched = std::move(untouched)};
    };
    const auto written = [](std::string name, std::string arguments, std::string outHolds = {}) {
        return HostileCase{.name = std::move(name),
                           .arguments = std::move(arguments),
                           .outHolds = std::move(outHolds)};
    };
    // Within the bounds, or refused naming the file.
    const auto bounded = [](std::string name, std::string file, std::string arguments) {
        return HostileCase{.name = std::move(name),
                           .arguments = std::move(arguments),
                           .outcome = WrittenOrRefused,
                           .err = std::regex_replace(file, std::regex("\\."), "\\.") + ": .+\n"};
    };
    // Drawn within the bounds, or refused: by the renderer's own message naming the file, or by
    // its crash, limit or timeout.
    const auto boundedSvg = [](std::string name, std::string file, std::string arguments) {
        const std::string escaped = std::regex_replace(file, std::regex("\\."), "\\.");
        return HostileCase{.name = std::move(name),
                           .arguments = std::move(arguments),
                           .outcome = WrittenOrRefused,
                           .err =
                               "(" + escaped + ": .+|SVG image is not valid: " + escaped + ")\n"};
    };
    const auto unwritable = [](std::string name, std::string arguments, StandardOutput output) {
        return HostileCase{.name = std::move(name),
                           .arguments = std::move(arguments),
                           .outcome = Refused,
                           .err = "Unable to write to standard output\n",
                           .output = output};
    };
    std::string tinyGifs;
    for (int i = 1; i <= 20; ++i)
        tinyGifs += " " + tinyName(i);
    const std::string notWav = "it is not a WAV sound file or it is damaged\\.\n";
    HostileCase cssColour = written("PageCssInBgColor", "page --html5 bgcolor.kxq -", "<body");
    cssColour.err = "kelmor-cli page: warning: BG Color is not a CSS colour \\(#rgb, #rrggbb, a "
                    "colour name, rgb\\(\\) or hsl\\(\\)\\); the page has no background colour\n";
    cssColour.outLacks = "beacon";
    return {
        // Assembly counts every frame of every input before decoding any.
        refused("AnimateTwentyTinyGifs", "animate -o anim.gif" + tinyGifs,
                "tiny02\\.gif: Image too large\n", "anim.gif"),
        refused("AnimateTwentyJunkJpegs", "animate -o anim.gif " + repeated("junk.jpg", 20),
                "junk\\.jpg: Image too large\n", "anim.gif"),
        refused("AnimateTwentySegmentJpegs", "animate -o anim.gif " + repeated("segments.jpg", 20),
                "segments\\.jpg: Image too large\n", "anim.gif"),
        bounded("InfoTinyGif", "tiny01.gif", "info tiny01.gif"),
        written("ConvertTinyGif", "convert gif2bmp tiny01.gif tiny.bmp"),
        bounded("InfoJunkJpeg", "junk.jpg", "info junk.jpg"),
        bounded("InfoSegmentJpeg", "segments.jpg", "info segments.jpg"),
        // Scans past a limit, and a decoder's own memory past the budget, are refused.
        refused("InfoScanBomb", "info scans.jpg", "scans\\.jpg: .+\n"),
        refused("ResaveScanBomb", "resave scans.jpg out.jpg", "scans\\.jpg: .+\n", "out.jpg"),
        refused("InfoCmykCoefficients", "info cmyk.jpg", "cmyk\\.jpg: .+\n"),
        refused("ResaveCmykCoefficients", "resave cmyk.jpg out.jpg", "cmyk\\.jpg: .+\n", "out.jpg"),
        // Decoding only what a command needs.
        bounded("InfoLzwBomb", "lzw.gif", "info lzw.gif"),
        bounded("ResaveLzwBomb", "lzw.gif", "resave lzw.gif out.gif"),
        written("ConvertLzwBomb", "convert gif2bmp lzw.gif lzw.bmp"),
        bounded("InfoEmptyFrames", "empty.gif", "info empty.gif"),
        written("ConvertEmptyFrames", "convert gif2bmp empty.gif empty.bmp"),
        // The newer kinds' sizes are checked from their headers, before any pixel.
        refused("InfoHugePng", "info huge.png", "huge\\.png: Image too large\n"),
        refused("InfoHugeWebp", "info huge.webp", "huge\\.webp: Image too large\n"),
        refused("InfoHugeSvg", "info huge.svg", "huge\\.svg: Image too large\n"),
        refused("ConvertHugeSvg", "convert huge.svg out.png", "huge\\.svg: Image too large\n",
                "out.png"),
        refused("AnimateHugeWebp", "animate -o anim.webp small.gif huge.webp",
                "huge\\.webp: Image too large\n", "anim.webp"),
        // Every copy a command makes is counted from the headers against its budget.
        refused("InfoFourHugeWebpFrames", "info anim4.webp", "anim4\\.webp: Image too large\n"),
        written("ResaveFourHugeWebpFrames", "resave anim4.webp out.webp"),
        refused("ConvertFourHugeWebpFrames", "convert anim4.webp out.png",
                "anim4\\.webp: Image too large\n", "out.png"),
        refused("InfoOneHugeWebpFrame", "info anim1.webp", "anim1\\.webp: Image too large\n"),
        refused("ThumbnailOneHugeWebpFrame", "thumbnail anim1.webp",
                "anim1\\.webp: Image too large\n"),
        refused("InfoHugeStillWebp", "info still.webp", "still\\.webp: Image too large\n"),
        refused("ThumbnailTwoHugeWebps", "thumbnail still.webp anim1.webp",
                "still\\.webp: Image too large\nanim1\\.webp: Image too large\n"),
        written("InfoManyWebpFrames", "info many.webp", "frames: 16384\n"),
        written("ConvertGradientToPng", "convert gradient.png out.png"),
        refused("ConvertGradientToWebp", "convert gradient.png out.webp",
                "gradient\\.png: Image too large\n", "out.webp"),
        refused("ConvertGradientToBmp", "convert gradient.png out.bmp",
                "gradient\\.png: Image too large\n", "out.bmp"),
        refused("ConvertGradientToGif", "convert gradient.png out.gif",
                "gradient\\.png: Image too large\n", "out.gif"),
        refused("AnimateFourGradients",
                "animate -o anim.webp gradient.png gradient.png gradient.png gradient.png",
                "gradient\\.png: Image too large\n", "anim.webp"),
        // Rows that would keep the decoder busy for seconds, and metadata skipped at once.
        refused("InfoSixteenBitPng", "info deep.png", "deep\\.png: Image too large\n"),
        written("InfoTextAfterPixels", "info late-text.png", "size: 8192x8192\n"),
        refused("InfoTallPng", "info tall.png", "tall\\.png: Image too large\n"),
        refused("ThumbnailTallPng", "thumbnail tall.png", "tall\\.png: Image too large\n"),
        // A crash of librsvg ends its renderer process, not the command; resave draws nothing.
        refused("InfoCrashingSvg", "info hugefont.svg", "SVG image is not valid: hugefont\\.svg\n"),
        refused("ConvertCrashingSvg", "convert hugefont.svg out.png",
                "SVG image is not valid: hugefont\\.svg\n", "out.png"),
        refused("AnimateCrashingSvg", "animate -o anim.gif small.gif hugefont.svg",
                "SVG image is not valid: hugefont\\.svg\n", "anim.gif"),
        written("ResaveCrashingSvg", "resave hugefont.svg out.svg"),
        boundedSvg("InfoConvolveOrder", "convolve.svg", "info convolve.svg"),
        boundedSvg("InfoSelfMarkingPath", "markers.svg", "info markers.svg"),
        boundedSvg("InfoBlurredSquare", "blur.svg", "info blur.svg"),
        boundedSvg("ConvertBlurredSquare", "blur.svg", "convert blur.svg out.bmp"),
        boundedSvg("InfoDataPngs", "datapngs.svg", "info datapngs.svg"),
        boundedSvg("InfoDataSvgPicture", "datasvg.svg", "info datasvg.svg"),
        boundedSvg("InfoFortyThousandPaths", "paths.svg", "info paths.svg"),
        // Named pipes and folders are refused without waiting.
        refused("InfoPipe", "info f.gif", "Cannot open file f\\.gif\n"),
        refused("ResavePipe", "resave f.gif out.gif", "Cannot open file f\\.gif\n", "out.gif"),
        refused("ConvertPipe", "convert gif2bmp f.gif out.bmp", "Cannot open file f\\.gif\n",
                "out.bmp"),
        refused("AnimatePipe", "animate -o anim.gif small.gif f.gif", "Cannot open file f\\.gif\n",
                "anim.gif"),
        refused("PagePipe", "page f.kxq out.html", "Cannot open file f\\.kxq\n", "out.html"),
        refused("SoundInfoPipe", "sound info f.wav", "Cannot open sound file f\\.wav: " + notWav),
        refused("ConvertFolder", "convert gif2bmp folder.gif out.bmp",
                "Cannot open file folder\\.gif\n", "out.bmp"),
        refused("InfoFolder", "info folder.gif", "Cannot open file folder\\.gif\n"),
        // A project writes its page inside its own folder, as a web page, over no picture.
        refused("PageThroughParent", "page escape.kxq", ".*escape\\.html.*\n", "../escape.html"),
        refused("PageAbsolute", "page absolute.kxq", ".*absolute\\.html.*\n", "../absolute.html"),
        refused("PageOverItsPicture", "page ownpicture.kxq",
                "Target page is not a web page: \\S*n1\\.gif\n", "n1.gif"),
        refused("PageScript", "page script.kxq", "Target page is not a web page: \\S*x\\.sh\n",
                "x.sh"),
        cssColour,
        refused("PagePlainNulInTarget", "page nul.kxq",
                "Target page is not a web page: victim\\.txt\\\\x00\\.html\n", "victim.txt"),
        refused("PageSoundNulInTarget", "page --sound nulsub.kxq",
                "Target page is not a web page: sub/victim\\.csv\\\\x00x\\.html\n",
                "sub/victim.csv"),
        refused("PageHtml5NulInTarget", "page --html5 nul.kxq",
                "Target page is not a web page: victim\\.txt\\\\x00\\.html\n", "victim.txt"),
        // Names from the command line: control characters refused, and shown escaped.
        refused("PageOutWithControl", "page plain.kxq out\x01.html",
                "Target page is not a web page: out\\\\x01\\.html\n", "out\x01.html"),
        refused("ConvertOutWithEscape", "convert small.gif x\x1B[2J.png",
                "Cannot create file x\\\\x1B\\[2J\\.png\n", "x\x1B[2J.png"),
        refused("UnknownCommandEscaped", "\x1B]0;x\x07",
                "kelmor-cli: unknown command '\\\\x1B\\]0;x\\\\x07' \\(try kelmor-cli --help\\)\n"),
        // Sound: the frames libsndfile counts, whatever the encoding packs into a byte.
        written("SoundInfoGsm", "sound info gsm.wav", "frames: 480000\nduration: 60.000 s\n"),
        written("SoundInfoClaimingSize", "sound info claims.wav", "frames: 1000\n"),
        // Messages name their file.
        refused("InfoNoExtension", "info README",
                "README: Unknown picture file extension \\(\\.\\)\n"),
        refused("ResaveIndexPastTable", "resave badindex.gif out.gif",
                "badindex\\.gif: Color not in color table\n", "out.gif"),
        // Output that cannot be written fails the command.
        unwritable("InfoClosedOutput", "info small.gif", StandardOutput::Closed),
        unwritable("InfoFullDisk", "info small.gif", StandardOutput::FullDisk),
        unwritable("SoundInfoClosedOutput", "sound info claims.wav", StandardOutput::Closed),
        unwritable("SoundInfoFullDisk", "sound info claims.wav", StandardOutput::FullDisk),
        unwritable("ResaveFullDisk", "resave small.gif -", StandardOutput::FullDisk),
        unwritable("PageFullDisk", "page plain.kxq -", StandardOutput::FullDisk),
        unwritable("HelpClosedOutput", "--help", StandardOutput::Closed),
    };
}

ChildRun runCase(const std::string& program, const fs::path& site, const HostileCase& c,
                 int timeoutSeconds) {
    // Everything the child needs is made before the fork: after it, only system calls.
    std::vector<std::string> words{program};
    std::istringstream split(c.arguments);
    for (std::string word; split >> word;)
        words.push_back(word);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // The thumbnail cache the child writes lies beside the site, not in the user's own.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        if (!std::string_view(*variable).starts_with("XDG_CACHE_HOME="))
            environment.emplace_back(*variable);
    }
    environment.push_back("XDG_CACHE_HOME=" + (site.parent_path() / "cache").string());
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    const std::string outFile = (site.parent_path() / "stdout").string();
    const std::string errFile = (site.parent_path() / "stderr").string();
    const char* outTarget = c.output == StandardOutput::FullDisk ? "/dev/full" : outFile.c_str();

    fs::remove(outFile);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int out = ::open(outTarget, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::chdir(site.c_str()) != 0 || in < 0 || err < 0 || out < 0 ||
            ::dup2(in, STDIN_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0 ||
            ::dup2(out, STDOUT_FILENO) < 0)
            ::_exit(127);
        ::close(in);
        ::close(err);
        ::close(out);
        if (c.output == StandardOutput::Closed)
            ::close(STDOUT_FILENO);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ChildRun run;
    if (pid < 0)
        return run;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
        if (done == pid || (done < 0 && errno != EINTR))
            break;
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeoutSeconds)) {
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = !run.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKiB = usage.ru_maxrss;
    run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    return run;
}

} // namespace kelmor::test
