#include "platform/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CReadOnlyFile::~CReadOnlyFile()
{
    Close();
}

bool CReadOnlyFile::Open(const Text& path)
{
    Close();
    // A zero byte would cut the path short and open some other file.
    if (path.empty() || path.find('\0') != Text::npos)
        return false;
    // Not blocking, so that opening a FIFO with no writer returns at once and fails below.
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return false;
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
        static_cast<std::uint64_t>(status.st_size) > MaximumFileBytes)
    {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    m_length = static_cast<std::uint64_t>(status.st_size);
    m_identity = {static_cast<std::uint64_t>(status.st_dev),
                  static_cast<std::uint64_t>(status.st_ino)};
    return true;
}

std::uint64_t CReadOnlyFile::Length() const
{
    return m_length;
}

std::size_t CReadOnlyFile::Read(void* buffer, std::size_t count)
{
    if (m_descriptor < 0 || count == 0)
        return 0;
    ssize_t result = -1;
    do
        result = ::read(m_descriptor, buffer, count);
    while (result < 0 && errno == EINTR);
    return result < 0 ? 0 : static_cast<std::size_t>(result);
}

void CReadOnlyFile::Close()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    m_length = 0;
}
