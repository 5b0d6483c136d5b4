#include "PageScreenshots.h"

#include "PageControl.h"
#include "TForm1.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

bool savePageScreenshots(TForm1 &window, const QString &folder, QString *error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    const int before = window.pageControl()->currentIndex();
    bool ok = true;
    for (int i = 0; i < window.pageControl()->count() && ok; ++i) {
        window.pageControl()->setCurrentIndex(i);
        QApplication::processEvents();
        const QString file = QDir(folder).filePath(QStringLiteral("page-%1.png").arg(i + 1));
        if (!window.grab().save(file, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(file);
            ok = false;
        }
    }
    window.pageControl()->setCurrentIndex(before);
    return ok;
}
