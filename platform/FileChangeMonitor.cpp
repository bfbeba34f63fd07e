#include "platform/FileChangeMonitor.h"

#include <sys/stat.h>

bool CFileChangeMonitor::Watch(const std::vector<Text>& paths)
{
    if (paths == m_paths)
        return false;
    m_paths = paths;
    m_seen = TakeFingerprints();
    m_pending.reset();
    return true;
}

bool CFileChangeMonitor::HasChanged() const
{
    return TakeFingerprints() != m_seen;
}

void CFileChangeMonitor::TakeAsSeen()
{
    m_seen = TakeFingerprints();
    m_pending.reset();
}

bool CFileChangeMonitor::PollSettled(Clock::time_point now)
{
    std::vector<Fingerprint> current = TakeFingerprints();
    if (current == m_seen)
    {
        // Changed and changed back: nothing to read again.
        m_pending.reset();
        return false;
    }
    if (!m_pending || *m_pending != current)
    {
        m_pending = std::move(current);
        m_pendingSince = now;
        return false;
    }
    return now - m_pendingSince >= SettleTime;
}

std::vector<CFileChangeMonitor::Fingerprint> CFileChangeMonitor::TakeFingerprints() const
{
    std::vector<Fingerprint> prints;
    prints.reserve(m_paths.size());
    for (const Text& path : m_paths)
    {
        Fingerprint print;
        struct stat status
        {
        };
        if (stat(path.c_str(), &status) == 0)
        {
            print.exists = true;
            print.device = status.st_dev;
            print.inode = status.st_ino;
            print.size = status.st_size;
            print.changedNanoseconds =
                static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                status.st_mtim.tv_nsec;
        }
        prints.push_back(print);
    }
    return prints;
}
