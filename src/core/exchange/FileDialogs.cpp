#include "exchange/FileDialogs.h"

#include "exchange/WorkbookWriter.h"
#include "operator/Operator.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace FileDialogs {

QString filter(const QString &pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts.at(i + 1)).replace(u';', u' ');
        const QString &caption = parts.at(i);
        // A caption that already shows its patterns in brackets stands as it is.
        filters << (caption.contains(u'(') ? caption
                                           : caption + QStringLiteral(" (") + patterns + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString proposedName(const QString &prefix, const QDateTime &now) {
    return prefix + now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
}

QString chooseWorkbookTarget(Operator &op, const QString &title, const QString &folder,
                             const QString &proposed) {
    const QString chosen = op.chooseSaveFile(title, folder, proposed,
                                             filter(QStringLiteral("EXCEL file|*.xlsx|(*.*)|*.*")));
    if (chosen.isEmpty())
        return {};
    const QString target = WorkbookWriter::withDefaultExtension(chosen);
    if (target == chosen || !QFileInfo::exists(target))
        return target;
    const bool replace = op.confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                        .arg(QDir::toNativeSeparators(target)),
                                    QStringLiteral("Confirm Save As"), QStringLiteral("Yes"),
                                    QStringLiteral("No"), Operator::Icon::Warning);
    return replace ? target : QString();
}

} // namespace FileDialogs
