#include "Openpyxl.h"

#include <QProcess>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

} // namespace

namespace Openpyxl {

bool available() {
    QByteArray output;
    QString error;
    return run(QStringLiteral("import openpyxl"), {}, &output, &error);
}

bool run(const QString &script, const QStringList &arguments, QByteArray *output, QString *error) {
    QProcess process;
    process.start(python, QStringList{QStringLiteral("-c"), script} + arguments);
    if (!process.waitForFinished(120000)) {
        *error = process.errorString();
        process.kill();
        process.waitForFinished();
        return false;
    }
    *output = process.readAllStandardOutput();
    *error = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace Openpyxl
