// The single-instance lock: a live holder keeps it, a dead one loses it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QSysInfo>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SingleInstance.h"

using namespace q2;

TEST(SingleInstance, SecondLockIsRefusedWhileTheFirstIsHeld) {
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    SingleInstanceLock first, second;
    EXPECT_TRUE(first.TryAcquire());
    EXPECT_FALSE(second.TryAcquire());
}

TEST(SingleInstance, LockOfADeadProcessIsTakenOver) {
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    SingleInstanceLock lock;
    {
        // The file a crashed program would have left: its PID, name and host.
        QFile f(lock.FilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::number(child) + "\nvelmora3\n" +
                QSysInfo::machineHostName().toUtf8() + "\n");
    }
    EXPECT_TRUE(lock.TryAcquire());
}
