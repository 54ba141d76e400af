#pragma once
// One media file opened for FFmpeg through a descriptor of our own: exactly that file is
// read (a playlist or a reference to another file is refused), only a regular file is
// opened (a folder, device or pipe would block or never end), and closing it is ours.

extern "C" {
#include <libavformat/avformat.h>
}

#include <string>

namespace platform {

class FileSource {
public:
    FileSource() = default;
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // What Open gives for anything but a regular file (FFmpeg's codes are negative).
    static constexpr int kNotAFile = 1;
    // Opens the file and its container: 0, kNotAFile, or FFmpeg's error code. interrupt,
    // when given, can cut a slow read short, now and later.
    int Open(const std::string& path, AVIOInterruptCB interrupt = {nullptr, nullptr});
    // Closes the file and everything read from it.
    void Close();

    AVFormatContext* Format() const { return m_format; }
    // The file allows seeking to any byte.
    bool RandomAccess() const;

    // What the read callback works with.
    struct Io {
        int fd = -1;
        AVIOInterruptCB interrupt{nullptr, nullptr};
    };

private:
    Io m_io;
    AVIOContext* m_avio = nullptr;
    AVFormatContext* m_format = nullptr;
};

}  // namespace platform
