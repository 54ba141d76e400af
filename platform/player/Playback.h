#pragma once
// One media file being played: it is opened and read on the player's own threads (demux,
// video decode, audio decode), joined by bounded queues. Pictures come out converted and
// scaled for the panel, as copies; sound goes into a FIFO for the sound output. Made for
// each URL; the destructor returns only once every thread has ended and the file is closed.

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

class Playback {
public:
    enum class Event { Opened, Failed, Frame };
    using Notify = std::function<void(Event)>;  // called on the player's threads

    Playback(std::string path, Notify notify);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    MediaInfo Info() const;  // valid after Opened

    // Decides, once after Opened, whether sound is decoded and in which form: interleaved
    // samples at this rate and channel count. Zero channels: no sound output.
    void SetSoundOutput(int rate, int channels, SampleFormat format);
    void DropSound();  // the output broke: sound is no longer decoded or waited for
    // Without a sound output the clock runs by itself, started by the first picture.
    void SetSystemClock(bool on);
    void SetPlaying(bool playing);
    void SetFrameArea(int width, int height);  // the largest picture the panel can show

    int Seek(std::int64_t targetUs);  // the serial that pictures of the new position carry
    int Serial() const;
    bool PosterShown() const;  // the first picture of the current serial is out

    bool TakeFrame(VideoFrame& out);  // the newest picture not yet taken
    // Everything of the current serial has been decoded; endUs is where it ends.
    bool Finished(std::int64_t& endUs) const;
    bool ShowedPicture() const;  // any picture at all came out of the file

    MediaClock& Clock();
    PcmFifo& Sound();

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::player
