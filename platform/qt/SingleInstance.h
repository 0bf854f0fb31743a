// The single-instance test, one per diary folder: a lock file in the user's runtime folder,
// named "Quillory-" and a short digest of the diary folder's real path, held by the running
// program until it ends. Two diaries can be open at once; one diary never twice.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace quillory {

class InstanceLock {
public:
    // `folder` holds the lock; by default the user's runtime folder. `diaryFolder` is the diary
    // the lock stands for; by default the diary folder of this run (DiaryFolder()).
    explicit InstanceLock(QString folder = {}, QString diaryFolder = {});
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another running program holds the lock. Otherwise this object holds it from
    // now until it is destroyed - and when the lock cannot be made at all, the answer is
    // false too: the program then simply runs. A lock left by a program that died is taken over.
    bool AlreadyRunning();

    QString FileName() const { return fileName_; }

private:
    QString fileName_;
    std::unique_ptr<QLockFile> lock_;
};

// The lock file's name for a diary folder: one name for every spelling of the same folder
// (a trailing '/', "..", a symbolic link).
QString InstanceLockName(const QString& diaryFolder);

} // namespace quillory
