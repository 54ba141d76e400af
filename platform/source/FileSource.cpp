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
    const int fd = *static_cast<int*>(opaque);
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
    const int fd = *static_cast<int*>(opaque);
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
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

int FileSource::Open(const std::string& path, AVIOInterruptCB interrupt)
{
    Close();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return kNotAFile;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return kNotAFile;
    }
    constexpr int kBuffer = 64 * 1024;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBuffer));
    if (!buffer) {
        Close();
        return AVERROR(ENOMEM);
    }
    m_io = avio_alloc_context(buffer, kBuffer, 0, &m_fd, ReadFile, nullptr, SeekFile);
    if (!m_io) {
        av_free(buffer);
        Close();
        return AVERROR(ENOMEM);
    }
    m_format = avformat_alloc_context();
    if (!m_format) {
        Close();
        return AVERROR(ENOMEM);
    }
    m_format->pb = m_io;
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
    return m_io && (m_io->seekable & AVIO_SEEKABLE_NORMAL);
}

}  // namespace platform
