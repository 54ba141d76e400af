#pragma once
// One media file being played: it is opened and read on the player's own threads (demux,
// video decode, audio decode), joined by bounded queues. Pictures come out converted and
// scaled for the panel; sound goes into a FIFO for the sound output. Made for each URL.

#include "MediaClock.h"
#include "PcmFifo.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform::player {

struct MediaInfo {
    bool hasVideo = false;
    bool hasAudio = false;
    std::int64_t durationUs = 0;  // 0: unknown
    bool seekable = false;  // a length is known and the file can be read anywhere
    bool randomAccess = false;
    int width = 0, height = 0;  // the picture at its display size (sample aspect ratio applied)
    int audioRate = 0, audioChannels = 0;
};

struct VideoFrame {
    QImage image;  // RGB32, owning its pixels
    std::int64_t ptsUs = 0;
    std::int64_t durationUs = 0;
    int displayWidth = 0, displayHeight = 0;  // the picture's full display size, before fitting
    int serial = -1;
};

// One file's playback. The FFmpeg side lives in the media module, loaded when first
// needed, so the program shows its window without waiting for FFmpeg; this is what the
// player sees of it.
class Playback {
public:
    enum class Event { Opened, Failed, Frame };
    using Notify = std::function<void(Event)>;  // called on the player's threads

    // Opens path on the playback's threads; events follow. Null when the media module
    // cannot be loaded.
    static std::unique_ptr<Playback> Create(std::string path, Notify notify);

    virtual ~Playback() = default;  // returns once every thread has ended and the file is closed

    virtual MediaInfo Info() const = 0;  // valid after Opened

    // Decides, once after Opened, whether sound is decoded and in which form: interleaved
    // samples at this rate and channel count. Zero channels: no sound output.
    virtual void SetSoundOutput(int rate, int channels, SampleFormat format) = 0;
    virtual void DropSound() = 0;  // the output broke: sound is no longer decoded or waited for
    // Without a sound output the clock runs by itself, started by the first picture.
    virtual void SetSystemClock(bool on) = 0;
    virtual void SetPlaying(bool playing) = 0;
    virtual void SetFrameArea(int width, int height) = 0;  // the largest picture the panel can show

    virtual int Seek(std::int64_t targetUs) = 0;  // the serial that pictures of the new position carry
    virtual int Serial() const = 0;
    virtual bool PosterShown() const = 0;  // the first picture of the current serial is out

    virtual bool TakeFrame(VideoFrame& out) = 0;  // the newest picture not yet taken
    // Everything of the current serial has been decoded; endUs is where it ends.
    virtual bool Finished(std::int64_t& endUs) const = 0;
    virtual bool ShowedPicture() const = 0;  // any picture at all came out of the file

    virtual MediaClock& Clock() = 0;
    virtual PcmFifo& Sound() = 0;

protected:
    Playback() = default;
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;
};

}  // namespace platform::player
