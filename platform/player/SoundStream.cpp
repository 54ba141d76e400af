#include "SoundStream.h"

extern "C" {
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <vector>

namespace platform::player {
namespace {

constexpr std::int64_t kSecond = 1000000;

}  // namespace

SoundStream::SoundStream(PcmFifo& fifo, int rate, int channels, SampleFormat format)
    : m_fifo(fifo), m_rate(rate), m_channels(channels), m_format(format)
{
}

SoundStream::~SoundStream()
{
    swr_free(&m_swr);
    av_channel_layout_uninit(&m_inLayout);
}

std::size_t SoundStream::BytesPerFrame() const
{
    return std::size_t(m_channels) * (m_format == SampleFormat::Float ? 4 : 2);
}

void SoundStream::Restart(int serial, std::int64_t targetUs)
{
    swr_free(&m_swr);
    m_serial = serial;
    m_nextUs = targetUs;
}

bool SoundStream::PushSilence(std::int64_t fromUs, std::int64_t toUs)
{
    const auto bpf = std::int64_t(BytesPerFrame());
    while (fromUs < toUs) {
        const std::int64_t step = std::min<std::int64_t>(toUs - fromUs, 100000);
        const std::int64_t frames = std::max<std::int64_t>(1, step * m_rate / kSecond);
        if (!m_fifo.Push(m_serial, fromUs, std::vector<std::uint8_t>(std::size_t(frames * bpf), 0)))
            return false;
        fromUs += frames * kSecond / m_rate;
    }
    return true;
}

bool SoundStream::Reconfigure(const AVFrame* f)
{
    if (m_swr && f->sample_rate == m_inRate && f->format == m_inFormat &&
        av_channel_layout_compare(&f->ch_layout, &m_inLayout) == 0)
        return true;
    swr_free(&m_swr);
    AVChannelLayout in{}, out{};
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&in, std::max(1, f->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in, &f->ch_layout);
    av_channel_layout_default(&out, m_channels);
    const AVSampleFormat to = m_format == SampleFormat::Float ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16;
    const int rc = swr_alloc_set_opts2(&m_swr, &out, to, m_rate, &in, AVSampleFormat(f->format), f->sample_rate, 0,
                                       nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (rc < 0 || swr_init(m_swr) < 0) {
        swr_free(&m_swr);
        return false;
    }
    m_inRate = f->sample_rate;
    m_inFormat = f->format;
    av_channel_layout_uninit(&m_inLayout);
    av_channel_layout_copy(&m_inLayout, &f->ch_layout);
    return true;
}

bool SoundStream::Put(const AVFrame* f, std::int64_t us)
{
    if (!Reconfigure(f))
        return true;  // this part of the sound cannot be converted: skip it
    if (us == AV_NOPTS_VALUE)
        us = m_nextUs;
    const auto bpf = std::size_t(BytesPerFrame());
    const int capacity = swr_get_out_samples(m_swr, f->nb_samples);
    if (capacity <= 0)
        return true;
    std::vector<std::uint8_t> data(std::size_t(capacity) * bpf);
    std::uint8_t* out[1] = {data.data()};
    const int n =
        swr_convert(m_swr, out, capacity, const_cast<const std::uint8_t**>(f->extended_data), f->nb_samples);
    if (n <= 0)
        return true;
    data.resize(std::size_t(n) * bpf);

    // One unbroken line of sound from the position on.
    constexpr std::int64_t kSlackUs = 30000;
    if (us > m_nextUs + kSlackUs && us - m_nextUs < 10 * kSecond) {
        if (!PushSilence(m_nextUs, us))
            return false;
    } else if (us < m_nextUs - kSlackUs) {
        const std::int64_t cutFrames = (m_nextUs - us) * m_rate / kSecond;
        if (cutFrames >= n)
            return true;
        data.erase(data.begin(), data.begin() + std::ptrdiff_t(std::size_t(cutFrames) * bpf));
        us = m_nextUs;
    }
    const std::int64_t endUs = us + std::int64_t(data.size() / bpf) * kSecond / m_rate;
    if (!m_fifo.Push(m_serial, us, std::move(data)))
        return false;
    m_nextUs = endUs;
    return true;
}

}  // namespace platform::player
