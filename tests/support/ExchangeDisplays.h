#pragma once

#include "RecordingOperator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

// What a file exchange is tested with: a folder for its files, and the progress and status
// displays on a recording operator.
struct ExchangeDisplays {
    QTemporaryDir dir;
    RecordingOperator op;
    Tprogressbar_ctrl progress{op};
    Tstatusbar_ctrl status{op, progress};
};

// Whether `name` is the file name an export suggests: `prefix`, the local date and time as
// "yyyy-mm-dd_hh-nn-ss", then `suffix`.
inline bool isExportName(const QString &name, const QString &prefix, const QString &suffix = {}) {
    const QString pattern =
        QStringLiteral("^%1\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d%2$")
            .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(suffix));
    return QRegularExpression(pattern).match(name).hasMatch();
}
