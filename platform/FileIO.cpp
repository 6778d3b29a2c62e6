#include "FileIO.h"

#include "LargeBuffer.h"
#include "PlatformError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pictarium {
namespace {

WriteFaultHook gFaultHook = nullptr;

bool injected(WriteStep step)
{
    if (gFaultHook && gFaultHook(step)) {
        errno = step == WriteStep::Write ? ENOSPC : EACCES;
        return true;
    }
    return false;
}

// Closes a descriptor and removes the temporary file unless released.
class TempFile {
public:
    TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TempFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    bool close()
    {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void release() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

std::string folderOf(const std::string &path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

void setWriteFaultHook(WriteFaultHook hook) { gFaultHook = hook; }

bool fileExists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

Bytes readWholeFile(const std::string &path)
{
    const std::string failure = formatMessage("Cannot open file %s", path);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw PlatformError(failure);
    Bytes data;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        reserveLarge(data, static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw PlatformError(failure);
        }
        if (n == 0)
            break;
        data.insert(data.end(), chunk, chunk + n);
    }
    ::close(fd);
    return data;
}

void writeFileAtomically(const std::string &path, ByteSpan data)
{
    const std::string cannotCreate = formatMessage("Cannot create file %s", path);
    const std::string writeError = formatMessage("Error writing file %s", path);

    struct stat target;
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode))
        throw PlatformError(cannotCreate);

    std::string pattern = folderOf(path) + "/.pictarium-XXXXXX";
    if (injected(WriteStep::Create))
        throw PlatformError(cannotCreate);
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw PlatformError(cannotCreate);
    TempFile temp(fd, pattern);

    // New files get the permissions an ordinary create would give (0666 less the umask);
    // replaced files keep their own.
    mode_t mode;
    if (targetExists) {
        mode = target.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(temp.fd(), mode);

    std::size_t done = 0;
    while (done < data.size()) {
        if (injected(WriteStep::Write)) {
            // A disk that fills up takes part of the bytes before refusing the rest.
            [[maybe_unused]] ssize_t partial = ::write(temp.fd(), data.data() + done, (data.size() - done) / 2);
            errno = ENOSPC;
            throw PlatformError(writeError);
        }
        ssize_t n = ::write(temp.fd(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw PlatformError(writeError);
        done += static_cast<std::size_t>(n);
    }
    if (injected(WriteStep::Flush) || ::fsync(temp.fd()) != 0 || !temp.close())
        throw PlatformError(writeError);
    if (injected(WriteStep::Rename) || ::rename(temp.path().c_str(), path.c_str()) != 0)
        throw PlatformError(cannotCreate);
    temp.release();
}

} // namespace pictarium
