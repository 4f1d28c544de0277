#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Holds a per-user lock for one program while it runs. A copy that died leaves a
// stale lock that the next start takes over, so a crash never blocks the editor.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programName);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another running copy holds the lock.
    bool acquired() const { return acquired_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};
