// Tells when files on disk have changed since they were last looked at, by what stat(2) says
// of them: device, inode, size and time of change. An editor that saves by writing a new file
// and renaming it over the old one changes the inode; one that writes in place, the time.
// Used by the shells that watch the list on the screen; the watching itself stays out of the
// dialog's logic.
#pragma once

#include "platform/Text.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

class CFileChangeMonitor
{
public:
    using Clock = std::chrono::steady_clock;

    // How long files must stay as they are before a change counts: an editor may save in
    // several writes.
    static constexpr std::chrono::milliseconds SettleTime{200};

    // Watches `paths` from now on, as they are now. False, and nothing changes, when they are
    // the ones watched already.
    bool Watch(const std::vector<Text>& paths);
    const std::vector<Text>& Paths() const { return m_paths; }

    // True when the files differ from what was last taken as seen.
    bool HasChanged() const;
    // The files as they are now count as seen.
    void TakeAsSeen();

    // For a shell that looks by itself rather than being told: true once the files differ
    // from what was seen and have then stayed as they are for SettleTime. Call it every so
    // often with the present time.
    bool PollSettled(Clock::time_point now);

private:
    struct Fingerprint
    {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t changedNanoseconds = 0;
        bool operator==(const Fingerprint&) const = default;
    };
    std::vector<Fingerprint> TakeFingerprints() const;

    std::vector<Text> m_paths;
    std::vector<Fingerprint> m_seen;
    // The last state PollSettled found that differs from m_seen, and since when.
    std::optional<std::vector<Fingerprint>> m_pending;
    Clock::time_point m_pendingSince;
};
