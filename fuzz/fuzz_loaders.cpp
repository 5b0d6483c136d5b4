#include "RecordingOperator.h"
#include "TableRows.h"
#include "numbers/NumberListExchange.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "settings/SettingsTable.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// The settings profile and the number list loaders on arbitrary file contents: the first input
// byte picks the profile, the number list workbook or the number list's CSV, the rest is the
// file. Beyond crashes: a load that fails leaves its table exactly as it was. Legacy .xls
// contents are left to the workbook reader's own target, as each of them costs a child process.

namespace {

enum class Kind { Profile, ListWorkbook, ListCsv, Count };

bool sameCells(const StringGrid &a, const StringGrid &b) {
    for (int r = 0; r < a.rows(); ++r)
        if (a.rowTexts(r) != b.rowTexts(r))
            return false;
    return true;
}

struct Rig {
    RecordingOperator op;
    Tprogressbar_ctrl progress{op};
    Tstatusbar_ctrl status{op, progress};
    SettingsTable settings;
    SettingsTable pristineSettings;
    Tables &t = tables();
    Tcustomstringgrid_basis profile{settings, op, status, progress, QString()};
    NumberListExchange list{t.numbers, op, status, progress, QString()};
    QString folder;

    Rig() {
        folder = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                           : QDir::tempPath();
        folder += QStringLiteral("/velmora-fuzz-loaders-%1").arg(getpid());
    }

    QString write(const uint8_t *data, size_t size, const char *suffix) const {
        const QString path = folder + QLatin1String(suffix);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::abort();
        }
        return path;
    }

    void load(Kind kind, const uint8_t *data, size_t size) {
        bool loaded = false;
        bool unchanged = true;
        switch (kind) {
        case Kind::Profile: {
            const QString path = write(data, size, ".xlsx");
            loaded = profile.loadProfile(path);
            unchanged = loaded || sameCells(settings, pristineSettings);
            QFile::remove(path);
            break;
        }
        case Kind::ListWorkbook:
        case Kind::ListCsv: {
            const QString path = write(data, size, kind == Kind::ListCsv ? ".csv" : ".xlsx");
            loaded = list.loadFile(path);
            unchanged = loaded || sameCells(t.numbers, t.pristineNumbers);
            QFile::remove(path);
            break;
        }
        case Kind::Count:
            break;
        }
        if (!loaded && !unchanged) {
            std::fprintf(stderr, "a load that failed changed the table\n");
            std::abort();
        }
        restoreRows(settings, pristineSettings, 1, settings.rows() - 1);
        if (loaded && kind != Kind::Profile)
            restoreRows(t.numbers, t.pristineNumbers, 1, t.numbers.rows() - 1);
        op.clearHistory();
    }
};

bool isLegacyWorkbook(const uint8_t *data, size_t size) {
    static const uint8_t signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return size >= sizeof signature && std::equal(signature, signature + sizeof signature, data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0 || isLegacyWorkbook(data + 1, size - 1))
        return 0;
    static Rig rig;
    rig.load(Kind(data[0] % int(Kind::Count)), data + 1, size - 1);
    return 0;
}
