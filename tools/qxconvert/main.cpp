// qxconvert: converts one video file for a Pocket PC screen from the command line, with
// the same set-up of the encoder wrapper as the wizard's encoding page.

#include "common/misc/CxProgress.h"
#include "common/multimedia/CxRunSetup.h"
#include "platform/wmencoder/WMEncoder.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<bool> g_interrupted{false};

struct Options {
    std::string source, output;
    int screen = 1;   // 1 standard, 2 wide, 3 VGA
    int quality = 2;  // 1 high, 2 medium, 3 low
    int crop[4] = {0, 0, 0, 0};
    long long maxKB = 0, maxMinutes = 0;
};

[[noreturn]] void Usage(const char* problem)
{
    if (problem)
        std::fprintf(stderr, "qxconvert: %s\n", problem);
    std::fprintf(stderr,
                 "usage: qxconvert SOURCE OUTPUT [--screen standard|wide|vga] [--quality high|medium|low]\n"
                 "                 [--crop LEFT,TOP,RIGHT,BOTTOM] [--max-size KB] [--max-minutes N]\n");
    std::exit(2);
}

bool ParseInt(const char* text, long long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return *text && end && *end == '\0' && errno == 0;
}

Options Parse(int argc, char** argv)
{
    Options o;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* {
            if (i + 1 >= argc)
                Usage((arg + " needs a value").c_str());
            return argv[++i];
        };
        if (arg == "--screen") {
            const std::string v = value();
            o.screen = v == "standard" ? 1 : v == "wide" ? 2 : v == "vga" ? 3 : 0;
            if (!o.screen)
                Usage("--screen is standard, wide or vga");
        } else if (arg == "--quality") {
            const std::string v = value();
            o.quality = v == "high" ? 1 : v == "medium" ? 2 : v == "low" ? 3 : 0;
            if (!o.quality)
                Usage("--quality is high, medium or low");
        } else if (arg == "--crop") {
            long long m[4];
            const char* v = value();
            if (std::sscanf(v, "%lld,%lld,%lld,%lld", &m[0], &m[1], &m[2], &m[3]) != 4)
                Usage("--crop takes four numbers: LEFT,TOP,RIGHT,BOTTOM");
            for (int k = 0; k < 4; ++k) {
                if (m[k] < 0 || m[k] > 100000)
                    Usage("cropping margins are pixels, 0 or more");
                o.crop[k] = int(m[k]);
            }
        } else if (arg == "--max-size") {
            if (!ParseInt(value(), o.maxKB) || o.maxKB <= 0 || o.maxKB > (1LL << 40))
                Usage("--max-size takes a positive number of kilobytes");
        } else if (arg == "--max-minutes") {
            if (!ParseInt(value(), o.maxMinutes) || o.maxMinutes <= 0 || o.maxMinutes > 100000)
                Usage("--max-minutes takes a positive number of minutes");
        } else if (arg == "-h" || arg == "--help") {
            Usage(nullptr);
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            Usage(("unknown option " + arg).c_str());
        } else if (positional == 0) {
            o.source = arg;
            ++positional;
        } else if (positional == 1) {
            o.output = arg;
            ++positional;
        } else {
            Usage("one source and one output only");
        }
    }
    if (positional != 2)
        Usage("a source and an output file are needed");
    return o;
}

std::string Size(long long bytes)
{
    char text[32];
    if (bytes >= 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    else
        std::snprintf(text, sizeof text, "%lld KB", bytes / 1024);
    return text;
}

int Fail(CxWMEncoder& encoder, const char* what)
{
    const CxFailure failure = CxReadFailure(encoder);
    std::fprintf(stderr, "qxconvert: %s%s%s (0x%08X)\n", what, failure.text.empty() ? "" : ": ", failure.text.c_str(),
                 unsigned(failure.code));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options o = Parse(argc, argv);
    platform::wmenc::RegisterEncoderClasses();
    std::signal(SIGINT, [](int) { g_interrupted = true; });
    std::signal(SIGTERM, [](int) { g_interrupted = true; });

    CxRunJob job;
    job.source = o.source;
    job.output = o.output;
    job.screenType = o.screen;
    job.quality = o.quality;
    job.cropLeft = o.crop[0];
    job.cropTop = o.crop[1];
    job.cropRight = o.crop[2];
    job.cropBottom = o.crop[3];
    job.maxBytes = o.maxKB * 1024;
    job.maxMilliseconds = o.maxMinutes * 60000;
    const auto began = std::chrono::steady_clock::now();
    CxRunSetup setup = CxSetUpRun(job);
    if (!setup.Ok()) {
        std::fprintf(stderr, "qxconvert: %s%s%s (0x%08X)\n", CxStepText(setup.step), setup.failure.text.empty() ? "" : " ",
                     setup.failure.text.c_str(), unsigned(setup.failure.code));
        return 1;
    }
    CxWMEncoder& encoder = *setup.encoder;
    const bool terminal = ::isatty(STDOUT_FILENO);

    auto lastLine = began;
    auto lastShown = began;
    for (;;) {
        // A look at the run every 50 ms, so the program ends as soon as the run does; the
        // figures every half second.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int runState = encoder.GetRunState();
        const bool over = runState == platform::wmenc::WMENC_ENCODER_STOPPED || runState < 0;
        if (!over && !g_interrupted && std::chrono::steady_clock::now() - lastShown < std::chrono::milliseconds(500))
            continue;
        lastShown = std::chrono::steady_clock::now();
        if (g_interrupted) {
            encoder.Stop();
            if (terminal)
                std::printf("\n");
            std::fprintf(stderr, "qxconvert: stopped; %s holds what was converted so far\n", o.output.c_str());
            return 130;
        }
        const long long ms = encoder.GetFileDuration();
        const long long bytes = encoder.GetFileSize();
        const auto now = std::chrono::steady_clock::now();
        const long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - began).count();
        std::string line = CxProgressText(encoder.GetProgress(), elapsed);
        line += (line.empty() ? "" : "  ") + CxClockText(ms) + " encoded  " + Size(bytes);
        if (terminal) {
            std::printf("\r%-72s", line.c_str());
            std::fflush(stdout);
        } else if (now - lastLine >= std::chrono::seconds(5)) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
            lastLine = now;
        }
        if (over)  // the figures just read are the run's last
            break;
    }
    if (terminal)
        std::printf("\n");
    if (platform::FAILED(encoder.GetErrorState()))
        return Fail(encoder, "the conversion failed");
    encoder.Stop();
    struct stat st {};
    if (::stat(o.output.c_str(), &st) != 0) {
        std::fprintf(stderr, "qxconvert: the output file was not written\n");
        return 1;
    }
    const long long ms = encoder.GetFileDuration();
    std::printf("%s: %s, %s\n", o.output.c_str(), CxClockText(ms).c_str(), Size(st.st_size).c_str());
    if (const std::string fitted = CxFitText(o.maxKB, encoder.GetFittedFrameRate(), encoder.GetFittedMonoSound());
        !fitted.empty())
        std::printf("%s\n", fitted.c_str());
    switch (encoder.GetRunOutcome()) {
    case platform::wmenc::RunOutcome::CutAtSize:
        std::printf("%s\n", CxCutAtSizeText(ms).c_str());
        return 0;
    case platform::wmenc::RunOutcome::SourceDamaged:
        std::fprintf(stderr, "qxconvert: %s\n", CxDamagedSourceText(ms, encoder.GetSourceDuration()).c_str());
        return 3;
    default:
        return 0;
    }
}
