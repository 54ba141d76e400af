#include "FileSource.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int ReadFile(void* opaque, std::uint8_t* buffer, int size)
{
    auto* self = static_cast<FileSource::Io*>(opaque);
    // FFmpeg asks the interrupt only of the I/O it opens itself: ours asks before each read.
    if (self->interrupt.callback && self->interrupt.callback(self->interrupt.opaque))
        return AVERROR_EXIT;
    const int fd = self->fd;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, std::size_t(size));
        if (n > 0)
            return int(n);
        if (n == 0)
            return AVERROR_EOF;
        if (errno != EINTR)
            return AVERROR(errno);
    }
}

std::int64_t SeekFile(void* opaque, std::int64_t offset, int whence)
{
    const int fd = static_cast<FileSource::Io*>(opaque)->fd;
    if (whence == AVSEEK_SIZE) {
        struct stat st {};
        return ::fstat(fd, &st) == 0 ? std::int64_t(st.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : std::int64_t(at);
}

int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**)
{
    return AVERROR(EPERM);
}

}  // namespace

FileSource::~FileSource()
{
    Close();
}

void FileSource::Close()
{
    avformat_close_input(&m_format);
    if (m_avio) {
        av_freep(&m_avio->buffer);
        avio_context_free(&m_avio);
    }
    if (m_io.fd >= 0) {
        ::close(m_io.fd);
        m_io.fd = -1;
    }
}

int FileSource::Open(const std::string& path, AVIOInterruptCB interrupt)
{
    Close();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return kNotAFile;
    m_io.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_io.fd < 0 || ::fstat(m_io.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return kNotAFile;
    }
    constexpr int kBuffer = 64 * 1024;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBuffer));
    if (!buffer) {
        Close();
        return AVERROR(ENOMEM);
    }
    m_io.interrupt = interrupt;
    m_avio = avio_alloc_context(buffer, kBuffer, 0, &m_io, ReadFile, nullptr, SeekFile);
    if (!m_avio) {
        av_free(buffer);
        Close();
        return AVERROR(ENOMEM);
    }
    m_format = avformat_alloc_context();
    if (!m_format) {
        Close();
        return AVERROR(ENOMEM);
    }
    m_format->pb = m_avio;
    m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    m_format->interrupt_callback = interrupt;
    m_format->io_open = RefuseNestedOpen;
    // FFmpeg frees the context when opening fails; the descriptor and the I/O are ours.
    const int rc = avformat_open_input(&m_format, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        Close();
        return rc;
    }
    return 0;
}

bool FileSource::RandomAccess() const
{
    return m_avio && (m_avio->seekable & AVIO_SEEKABLE_NORMAL);
}

}  // namespace platform
