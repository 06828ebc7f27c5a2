#pragma once
// The program as a user starts it in a terminal, without a display.
#include "support/TestFixture.h"

#include <QProcess>

struct ProgramRun {
    int status; // -1 when it crashed
    QString out, err;
};

// `input` goes to its standard input.
inline ProgramRun runProgram(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(VOSTREL_PROGRAM, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) return {-1, {}, "not finished"};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
