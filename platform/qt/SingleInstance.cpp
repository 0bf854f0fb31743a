// The single-instance lock of a diary folder.
#include "platform/qt/SingleInstance.h"

#include "platform/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace quillory {

QString InstanceLockName(const QString& diaryFolder)
{
    const QFileInfo info(diaryFolder);
    QString path = info.canonicalFilePath();  // empty for a folder that does not exist
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("Quillory-") + QString::fromLatin1(digest.left(16));
}

InstanceLock::InstanceLock(QString folder, QString diaryFolder)
{
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    if (diaryFolder.isEmpty())
        diaryFolder = QString::fromStdString(DiaryFolder());
    fileName_ = QDir(folder).filePath(InstanceLockName(diaryFolder));
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
