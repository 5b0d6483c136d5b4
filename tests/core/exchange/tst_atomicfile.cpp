#include "FileSizeLimit.h"
#include "exchange/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
        Result<void> written;
        {
            const FileSizeLimit diskFull(100);
            written = AtomicFile::writeAll(path, QByteArray(4096, 'x'));
        }
        QVERIFY(!written);
        QCOMPARE(written.reason(), QStringLiteral("Cannot save \"%1\": File too large").arg(path));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old content\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.cvs"});

        QCOMPARE(AtomicFile::writeAll(path, "new\r\n").reason(), QString());
        old.close();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("new\r\n"));
    }

    // As root a read-only file once came back writable: the mode is copied bit for bit.
    void replacedFileKeepsItsMode() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.cvs");
        QCOMPARE(AtomicFile::writeAll(path, "old\r\n").reason(), QString());
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0440), 0);
        QCOMPARE(AtomicFile::writeAll(path, "new\r\n").reason(), QString());
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0440));
    }

    void specialFileAtTheTargetIsLeftAlone() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("list.cvs");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(AtomicFile::writeAll(fifo, "new\r\n").reason(),
                 QStringLiteral("Cannot save \"%1\": it is not a regular file, and is left as it "
                                "is")
                     .arg(fifo));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    // A killed export leaves its temporary file; the next one removes it, but not the temporary
    // file of an export still under way.
    void nextExportRemovesWhatAKilledOneLeft() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.cvs");
        QFile leftover(dir.filePath(".list.cvs.Ab3dE9"));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        AtomicFile running(path);
        QVERIFY(running.create());
        QCOMPARE(AtomicFile::writeAll(path, "new\r\n").reason(), QString());
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), 2);
        QVERIFY(left.contains("list.cvs"));
        QVERIFY(!left.contains(".list.cvs.Ab3dE9"));
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
