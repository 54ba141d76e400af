#include "ProfileFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <utility>

namespace platform::wmenc {
namespace {

// Stream types are DirectShow-style GUIDs; compared without braces or case.
constexpr QLatin1String kAudioType("73647561-0000-0010-8000-00AA00389B71");
constexpr QLatin1String kVideoType("73646976-0000-0010-8000-00AA00389B71");

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // profile times are in 100-ns units
constexpr std::int64_t kTicksPerMs = 10'000;

constexpr int kMaxWidth = 1920;
constexpr int kMaxHeight = 1088;
constexpr int kMaxFrameRate = 60;
constexpr int kMaxVideoBitrate = 20'000'000;
constexpr int kMaxAudioBitrate = 320'000;
constexpr int kMaxBufferWindowMs = 60'000;
constexpr int kMaxKeyFrameSpacingMs = 3'600'000;
constexpr int kDefaultQuality = 75;
constexpr std::array kSampleRates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};

// Frame times for 1 and 60 frames per second, rounded the way profiles store them.
constexpr std::int64_t kLongestFrameTime = kTicksPerSecond;
constexpr std::int64_t kShortestFrameTime = (kTicksPerSecond + kMaxFrameRate - 1) / kMaxFrameRate;

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

std::string Utf8(QStringView text)
{
    return text.toString().toStdString();
}

// ---- Reading the document -------------------------------------------------------

struct Element {
    QXmlStreamAttributes attributes;
    const char* name = "";
    qint64 line = 0;
};

struct Stream {
    Element config;
    std::optional<Element> props;   // videomediaprops
    std::optional<Element> wave;    // wmmediatype/waveformatex
    std::optional<Element> info;    // wmmediatype/videoinfoheader
    std::optional<Element> bitmap;  // wmmediatype/videoinfoheader/bitmapinfoheader
};

struct Document {
    Element root;
    std::vector<Stream> streams;
};

std::string Where(const Element& e)
{
    return "line " + std::to_string(e.line) + ": <" + e.name + ">";
}

// Collects the elements we use; everything else in a profile is skipped. Only the
// first levels of the open-element path matter, so deep nesting costs no memory.
std::optional<Document> ReadDocument(QXmlStreamReader& reader, std::string* error)
{
    Document doc;
    bool sawRoot = false;
    std::array<QString, 4> path;  // names of the open elements at depths 0..3
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            Fail(error, "line " + std::to_string(reader.lineNumber())
                            + ": a profile carries no document type declaration");
            return std::nullopt;
        }
        if (token == QXmlStreamReader::StartDocument) {
            // Only what the mark or plain bytes tell apart; another declared encoding
            // (UTF-7, a legacy code page) would read the same bytes as other text.
            const QStringView encoding = reader.documentEncoding();
            const auto is = [&](QStringView name) { return encoding.compare(name, Qt::CaseInsensitive) == 0; };
            if (!encoding.isEmpty() && !is(u"UTF-8") && !is(u"UTF-16") && !is(u"UTF-16LE") && !is(u"UTF-16BE")) {
                Fail(error, "encoding " + Utf8(encoding) + " is not UTF-8 or UTF-16");
                return std::nullopt;
            }
            continue;
        }
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = reader.name();
        const Element here{reader.attributes(), "", reader.lineNumber()};
        if (depth == 0 && !sawRoot) {
            if (name != u"profile") {
                Fail(error, "the root element is <" + Utf8(name) + ">, not <profile>");
                return std::nullopt;
            }
            sawRoot = true;
            doc.root = here;
            doc.root.name = "profile";
        } else if (depth == 1 && name == u"streamconfig") {
            doc.streams.push_back({here, {}, {}, {}, {}});
            doc.streams.back().config.name = "streamconfig";
        } else if (depth >= 2 && depth <= 4 && path[1] == u"streamconfig") {
            Stream& stream = doc.streams.back();
            std::optional<Element>* slot = nullptr;
            const char* slotName = "";
            if (depth == 2 && name == u"videomediaprops") {
                slot = &stream.props;
                slotName = "videomediaprops";
            } else if (depth == 3 && path[2] == u"wmmediatype" && name == u"waveformatex") {
                slot = &stream.wave;
                slotName = "waveformatex";
            } else if (depth == 3 && path[2] == u"wmmediatype" && name == u"videoinfoheader") {
                slot = &stream.info;
                slotName = "videoinfoheader";
            } else if (depth == 4 && path[2] == u"wmmediatype" && path[3] == u"videoinfoheader"
                       && name == u"bitmapinfoheader") {
                slot = &stream.bitmap;
                slotName = "bitmapinfoheader";
            }
            if (slot) {
                // Two of a kind in one stream would leave us guessing which one counts.
                if (*slot) {
                    Fail(error, "line " + std::to_string(here.line) + ": a second <" + slotName
                                    + "> in the stream of line " + std::to_string(stream.config.line));
                    return std::nullopt;
                }
                *slot = here;
                (*slot)->name = slotName;
            }
        }
        if (depth < int(path.size()))
            path[std::size_t(depth)] = name.toString();
        ++depth;
    }
    if (reader.hasError()) {
        Fail(error, "not well-formed XML at line " + std::to_string(reader.lineNumber()) + ", column "
                        + std::to_string(reader.columnNumber()) + ": " + reader.errorString().toStdString());
        return std::nullopt;
    }
    if (!sawRoot) {
        Fail(error, "no <profile> element");
        return std::nullopt;
    }
    return doc;
}

// ---- Attributes -----------------------------------------------------------------

bool GetText(const Element& e, const char* attribute, QString* value, std::string* error)
{
    const QLatin1String key(attribute);
    if (!e.attributes.hasAttribute(key))
        return Fail(error, Where(e) + " has no " + attribute);
    *value = e.attributes.value(key).toString();
    return true;
}

// A whole decimal number and nothing else (no blanks, no '+', no fraction), in [lo, hi].
bool GetInt(const Element& e, const char* attribute, std::int64_t lo, std::int64_t hi, std::int64_t* value,
            std::string* error)
{
    QString text;
    if (!GetText(e, attribute, &text, error))
        return false;
    const QByteArray bytes = text.toUtf8();
    const char* end = bytes.constData() + bytes.size();
    std::int64_t parsed = 0;
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, parsed);
    if (bytes.isEmpty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return Fail(error, Where(e) + " " + attribute + " \"" + bytes.toStdString() + "\" is not a whole number");
    if (ec == std::errc::result_out_of_range)
        return Fail(error, Where(e) + " " + attribute + " " + bytes.toStdString() + " is out of range ("
                               + std::to_string(lo) + " to " + std::to_string(hi) + ")");
    if (parsed < lo || parsed > hi)
        return Fail(error, Where(e) + " " + attribute + " " + std::to_string(parsed) + " is out of range ("
                               + std::to_string(lo) + " to " + std::to_string(hi) + ")");
    *value = parsed;
    return true;
}

bool GetInt(const Element& e, const char* attribute, std::int64_t lo, std::int64_t hi, int* value,
            std::string* error)
{
    std::int64_t wide = 0;
    if (!GetInt(e, attribute, lo, hi, &wide, error))
        return false;
    *value = int(wide);
    return true;
}

bool IsType(QStringView type, QLatin1String guid)
{
    if (type.size() >= 2 && type.front() == u'{' && type.back() == u'}')
        type = type.mid(1, type.size() - 2);
    return type.compare(guid, Qt::CaseInsensitive) == 0;
}

// The rate a frame time stands for. Profiles store 1/15 s as 666667 ticks; that means
// 15 fps, not 10000000/666667, so a whole or NTSC rate whose rounded frame time matches
// is taken first, and any other time as its exact fraction.
std::pair<int, int> FrameRateOf(std::int64_t frameTime)
{
    const auto rounded = [](std::int64_t num, std::int64_t den) {
        return (2 * kTicksPerSecond * den + num) / (2 * num);
    };
    for (int fps = 1; fps <= kMaxFrameRate; ++fps)
        if (rounded(fps, 1) == frameTime)
            return {fps, 1};
    for (int fps : {24, 30, 60})
        if (rounded(fps * 1000, 1001) == frameTime)
            return {fps * 1000, 1001};
    const std::int64_t g = std::gcd(kTicksPerSecond, frameTime);
    return {int(kTicksPerSecond / g), int(frameTime / g)};
}

bool ReadVideo(const Stream& s, VideoProfile* video, std::string* error)
{
    const std::string stream = "the video stream of line " + std::to_string(s.config.line);
    if (!s.props)
        return Fail(error, stream + " has no <videomediaprops>");
    if (!s.info)
        return Fail(error, stream + " has no <wmmediatype><videoinfoheader>");
    if (!s.bitmap)
        return Fail(error, stream + " has no <bitmapinfoheader> in its <videoinfoheader>");

    if (!GetInt(s.config, "bitrate", 1, kMaxVideoBitrate, &video->bitrate, error)
        || !GetInt(s.config, "bufferwindow", 1, kMaxBufferWindowMs, &video->bufferWindowMs, error))
        return false;

    std::int64_t spacing = 0;
    if (!GetInt(*s.props, "maxkeyframespacing", kTicksPerMs, std::int64_t(kMaxKeyFrameSpacingMs) * kTicksPerMs,
                &spacing, error))
        return false;
    video->keyFrameSpacingMs = int(spacing / kTicksPerMs);  // rounded down: key frames no rarer than asked
    video->quality = kDefaultQuality;
    if (s.props->attributes.hasAttribute(QLatin1String("quality"))
        && !GetInt(*s.props, "quality", 0, 100, &video->quality, error))
        return false;

    std::int64_t frameTime = 0;
    if (!GetInt(*s.info, "avgtimeperframe", kShortestFrameTime, kLongestFrameTime, &frameTime, error))
        return false;
    std::tie(video->frameRateNum, video->frameRateDen) = FrameRateOf(frameTime);

    if (!GetInt(*s.bitmap, "biwidth", 2, kMaxWidth, &video->width, error)
        || !GetInt(*s.bitmap, "biheight", 2, kMaxHeight, &video->height, error))
        return false;
    QString codec;
    if (!GetText(*s.bitmap, "bicompression", &codec, error))
        return false;
    if (codec != u"WMV1" && codec != u"WMV2")
        return Fail(error, Where(*s.bitmap) + " bicompression \"" + codec.toStdString() + "\" is not WMV1 or WMV2");
    video->codec = codec.toStdString();
    return true;
}

bool ReadAudio(const Stream& s, AudioProfile* audio, std::string* error)
{
    if (!s.wave)
        return Fail(error, "the audio stream of line " + std::to_string(s.config.line)
                               + " has no <wmmediatype><waveformatex>");
    int bufferWindow = 0;
    if (!GetInt(s.config, "bitrate", 1, kMaxAudioBitrate, &audio->bitrate, error)
        || !GetInt(s.config, "bufferwindow", 1, kMaxBufferWindowMs, &bufferWindow, error))
        return false;
    int tag = 0;
    if (!GetInt(*s.wave, "wFormatTag", 0, 0xFFFF, &tag, error))
        return false;
    if (tag == 352)
        audio->codec = "WMA1";
    else if (tag == 353)
        audio->codec = "WMA2";
    else
        return Fail(error, Where(*s.wave) + " wFormatTag " + std::to_string(tag)
                               + " is not WMA1 (352) or WMA2 (353)");
    return GetInt(*s.wave, "nChannels", 1, 2, &audio->channels, error)
        && GetInt(*s.wave, "nSamplesPerSec", 1, 1'000'000, &audio->sampleRate, error);
}

std::optional<Profile> Build(const Document& doc, std::string* error)
{
    Profile profile;
    QString name;
    if (!GetText(doc.root, "name", &name, error))
        return std::nullopt;
    if (name.trimmed().isEmpty()) {
        Fail(error, Where(doc.root) + " has an empty name");
        return std::nullopt;
    }
    profile.name = name.toStdString();
    profile.description = doc.root.attributes.value(QLatin1String("description")).toString().toStdString();

    const Stream* video = nullptr;
    const Stream* audio = nullptr;
    std::vector<int> numbers;
    for (const Stream& s : doc.streams) {
        QString type;
        int number = 0;
        if (!GetText(s.config, "majortype", &type, error) || !GetInt(s.config, "streamnumber", 1, 127, &number, error))
            return std::nullopt;
        if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) {
            Fail(error, Where(s.config) + " streamnumber " + std::to_string(number) + " is taken by another stream");
            return std::nullopt;
        }
        numbers.push_back(number);
        const Stream** slot = IsType(type, kVideoType) ? &video : IsType(type, kAudioType) ? &audio : nullptr;
        if (!slot) {
            Fail(error, Where(s.config) + " majortype " + type.toStdString() + " is neither audio nor video");
            return std::nullopt;
        }
        if (*slot) {
            Fail(error, Where(s.config) + " is a second " + (slot == &video ? "video" : "audio")
                            + " stream; a profile has at most one of each");
            return std::nullopt;
        }
        *slot = &s;
    }
    if (!video) {
        Fail(error, "the profile has no video stream");
        return std::nullopt;
    }
    if (!ReadVideo(*video, &profile.video, error))
        return std::nullopt;
    if (audio && !ReadAudio(*audio, &profile.audio.emplace(), error))
        return std::nullopt;
    if (!CheckProfile(profile, error))
        return std::nullopt;
    return profile;
}

// UTF-16 with a byte-order mark, decoded by us so that the mark decides, whatever
// the declaration says. Unpaired surrogates and a stray last byte are refused.
std::optional<QString> DecodeUtf16(const std::string& bytes, bool bigEndian, std::string* error)
{
    if (bytes.size() % 2 != 0) {
        Fail(error, "UTF-16 text with an odd number of bytes");
        return std::nullopt;
    }
    QString text(qsizetype(bytes.size() / 2 - 1), Qt::Uninitialized);
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        const auto hi = char16_t(static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]));
        const auto lo = char16_t(static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]));
        text[qsizetype(i / 2 - 1)] = QChar(char16_t(hi << 8 | lo));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            Fail(error, "UTF-16 text with an unpaired surrogate at character " + std::to_string(i));
            return std::nullopt;
        }
    }
    return text;
}

// ---- Built-in profiles ----------------------------------------------------------

Profile Handheld(const char* name, const char* description, int width, int height, int fps, int videoKbps,
                 int sampleRate, int audioKbps)
{
    Profile p;
    p.name = name;
    p.description = description;
    p.video = {"WMV2", width, height, fps, 1, videoKbps * 1000, 5000, 4000, kDefaultQuality};
    p.audio = AudioProfile{"WMA2", sampleRate, 2, audioKbps * 1000};
    return p;
}

}  // namespace

std::optional<Profile> ParseProfile(const std::string& bytes, std::string* error)
{
    if (bytes.size() > kMaxProfileBytes) {
        Fail(error, "larger than " + std::to_string(kMaxProfileBytes / 1024) + " KiB; not a profile");
        return std::nullopt;
    }
    const bool le = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool be = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    QXmlStreamReader reader;
    QString text;
    if (le || be) {
        auto decoded = DecodeUtf16(bytes, be, error);
        if (!decoded)
            return std::nullopt;
        text = std::move(*decoded);
        reader.addData(text);
    } else {
        // UTF-8 (with or without its mark) or what the declaration names; the reader decodes.
        reader.addData(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    }
    const auto doc = ReadDocument(reader, error);
    if (!doc)
        return std::nullopt;
    auto profile = Build(*doc, error);
    if (profile && error)
        error->clear();
    return profile;
}

std::optional<Profile> LoadProfileFile(const std::string& path, std::string* error)
{
    if (path.empty()) {
        Fail(error, "no profile file named");
        return std::nullopt;
    }
    const std::string where = "profile file " + path + ": ";
    QFile file(QString::fromStdString(path));
    if (QFileInfo(file).isDir()) {
        Fail(error, where + "is a folder");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, where + file.errorString().toStdString());
        return std::nullopt;
    }
    // One byte past the limit tells a file that is too large (or endless) without reading it all.
    const QByteArray data = file.read(qint64(kMaxProfileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        Fail(error, where + file.errorString().toStdString());
        return std::nullopt;
    }
    std::string reason;
    auto profile = ParseProfile(data.toStdString(), &reason);
    if (!profile) {
        Fail(error, where + reason);
        return std::nullopt;
    }
    if (error)
        error->clear();
    return profile;
}

bool CheckProfile(const Profile& p, std::string* error)
{
    const VideoProfile& v = p.video;
    if (p.name.find_first_not_of(" \t\r\n") == std::string::npos)
        return Fail(error, "the profile has an empty name");
    if (v.codec != "WMV1" && v.codec != "WMV2")
        return Fail(error, "video codec \"" + v.codec + "\" is not WMV1 or WMV2");
    if (v.width < 2 || v.width > kMaxWidth || v.height < 2 || v.height > kMaxHeight || v.width % 2 != 0
        || v.height % 2 != 0)
        return Fail(error, "frame " + std::to_string(v.width) + "x" + std::to_string(v.height)
                               + " is not an even size of at most 1920x1088");
    if (v.frameRateNum <= 0 || v.frameRateDen <= 0 || v.frameRateNum < v.frameRateDen
        || std::int64_t(v.frameRateNum) > std::int64_t(kMaxFrameRate) * v.frameRateDen)
        return Fail(error, "frame rate " + std::to_string(v.frameRateNum) + "/" + std::to_string(v.frameRateDen)
                               + " is not 1 to 60 frames per second");
    if (v.bitrate <= 0 || v.bitrate > kMaxVideoBitrate)
        return Fail(error, "video bit rate " + std::to_string(v.bitrate) + " is not 1 to 20000000 bit/s");
    if (v.bufferWindowMs <= 0 || v.bufferWindowMs > kMaxBufferWindowMs)
        return Fail(error, "buffer window " + std::to_string(v.bufferWindowMs) + " ms is not 1 to 60000 ms");
    if (v.keyFrameSpacingMs <= 0 || v.keyFrameSpacingMs > kMaxKeyFrameSpacingMs)
        return Fail(error, "key-frame spacing " + std::to_string(v.keyFrameSpacingMs)
                               + " ms is not 1 ms to one hour");
    if (v.quality < 0 || v.quality > 100)
        return Fail(error, "video quality " + std::to_string(v.quality) + " is not 0 to 100");
    if (!p.audio)
        return true;
    const AudioProfile& a = *p.audio;
    if (a.codec != "WMA1" && a.codec != "WMA2")
        return Fail(error, "audio codec \"" + a.codec + "\" is not WMA1 or WMA2");
    if (std::find(kSampleRates.begin(), kSampleRates.end(), a.sampleRate) == kSampleRates.end())
        return Fail(error, "sample rate " + std::to_string(a.sampleRate)
                               + " Hz is not one of 8000, 11025, 16000, 22050, 32000, 44100, 48000");
    if (a.channels != 1 && a.channels != 2)
        return Fail(error, std::to_string(a.channels) + " audio channels; only mono and stereo are supported");
    if (a.bitrate <= 0 || a.bitrate > kMaxAudioBitrate)
        return Fail(error, "audio bit rate " + std::to_string(a.bitrate) + " is not 1 to 320000 bit/s");
    return true;
}

std::vector<Profile> BuiltInProfiles()
{
    return {
        Handheld("Quorlantix Handheld Video 208x160", "Handheld video for 208x160 screens, 160 kbit/s", 208, 160,
                 15, 160, 32000, 32),
        Handheld("Quorlantix Handheld Video 320x200", "Handheld video for 320x200 screens, 280 kbit/s", 320, 200,
                 20, 280, 32000, 48),
        Handheld("Quorlantix Handheld Video 640x480", "Handheld video for 640x480 screens, 800 kbit/s", 640, 480,
                 25, 800, 44100, 64),
    };
}

}  // namespace platform::wmenc
