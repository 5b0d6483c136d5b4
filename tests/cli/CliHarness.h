#pragma once

#include "CliApp.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// Runs velmora-cli in this process with its streams captured.
struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

// Whether `lines` stand in `err` as whole lines, in this order; status lines may come between.
inline bool saysInOrder(const QString &err, const QStringList &lines) {
    const QStringList said = err.split(u'\n');
    qsizetype at = 0;
    for (const QString &line : lines) {
        at = said.indexOf(line, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

inline CliResult runCli(const QStringList &arguments, const QString &input = {},
                        const Trecognitionserial &ports = Trecognitionserial()) {
    CliResult r;
    QString in = input;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    QTextStream inStream(&in);
    CliApp app({out, err, inStream, false, false}, ports);
    r.code = app.run(QStringList{QStringLiteral("velmora-cli")} + arguments);
    out.flush();
    err.flush();
    return r;
}
