#include "singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& programName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    lock_ =
        std::make_unique<QLockFile>(QDir(folder).filePath(programName + QStringLiteral(".lock")));
    // Only a living owner counts; QLockFile removes the lock of a process that is gone.
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() {
    if (acquired_) lock_->unlock();
}
