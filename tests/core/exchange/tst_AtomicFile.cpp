#include "FileSizeLimit.h"
#include "exchange/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    // The disk fills up half way: the old file stays whole, nothing is left behind, and the
    // reason is the system's, not an unknown error.
    void failedWriteKeepsTheOldFileAndSaysWhy() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.cvs");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content\r\n");
        old.close();
        QString error;
        {
            const FileSizeLimit diskFull(100);
            error = AtomicFile::writeAll(path, QByteArray(4096, 'x'));
        }
        QCOMPARE(error, QStringLiteral("Cannot save \"%1\": File too large").arg(path));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old content\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.cvs"});

        QCOMPARE(AtomicFile::writeAll(path, "new\r\n"), QString());
        old.close();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("new\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_AtomicFile.moc"
