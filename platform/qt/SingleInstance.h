// The single-instance test: a lock file named "Quillory" in the user's runtime folder, held by
// the running program until it ends.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace quillory {

class InstanceLock {
public:
    // `folder` holds the lock; by default the user's runtime folder.
    explicit InstanceLock(QString folder = {});
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

} // namespace quillory
