#pragma once

#include <QList>
#include <QString>

// Why a serial port will not open, told so that the operator knows the fix: the missing group
// membership, the program that holds the port, the adapter that is not plugged in.
class PortProblem {
public:
    struct Holder {
        qint64 pid = 0;
        QString program;
    };

    // Other processes that have `path` open, from their /proc/PID/fd links under `procRoot`.
    // A process whose links this user may not read is missed.
    static QList<Holder> holders(const QString &path,
                                 const QString &procRoot = QStringLiteral("/proc"));
    // "held by PID 1234 (minicom)", several joined by ", "; empty for nobody.
    static QString heldBy(const QList<Holder> &holders);
    // This user may read and write the node.
    static bool mayOpen(const QString &path);
    // The text for an open of `path` that failed with `error` (an errno value); `user` is the
    // login name the dialout advice names.
    static QString explain(int error, const QString &path, const QString &user = loginName());
    static QString loginName();
};
