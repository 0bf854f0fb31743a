// The single-instance lock.
#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace quillory {

InstanceLock::InstanceLock(QString folder)
{
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    fileName_ = QDir(folder).filePath(QStringLiteral("Quillory"));
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::AlreadyRunning()
{
    if (lock_ && lock_->isLocked())
        return false;
    auto lock = std::make_unique<QLockFile>(fileName_);
    // A lock is stale only when its owner no longer runs, however long the diary stays open.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return false;
    }
    return lock->error() == QLockFile::LockFailedError;
}

} // namespace quillory
