#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace arn::test {

// What the Qt host program left when it ended: its exit status (-1 when it crashed or was
// killed) and everything it wrote.
struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the Qt host program in `workingDir` with no display at all (DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed); `platform`, when given, chooses a Qt platform for it. A host still
// running after `timeoutMs` is killed and reported as not finished.
inline HostRun RunQtHost(const QString& workingDir, const QStringList& args,
                         const QString& platform, int timeoutMs) {
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) {
        env.insert("QT_QPA_PLATFORM", platform);
    }
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(workingDir);
    host.start(QStringLiteral(ARN_QT_HOST_PATH), args);
    HostRun run;
    if (!host.waitForFinished(timeoutMs)) {
        host.kill();
        host.waitForFinished();
        run.err = "the host did not finish";
        return run;
    }
    run.exitCode = host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
    run.out = QString::fromUtf8(host.readAllStandardOutput());
    run.err = QString::fromUtf8(host.readAllStandardError());
    return run;
}

}  // namespace arn::test
