#include "exchange/InputFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestInputFile : public QObject {
    Q_OBJECT
private slots:
    // A FIFO without a writer would block the open or the read; /dev/zero never ends.
    void refusesWhatIsNotARegularFile() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
            const Result<QByteArray> read = InputFile::read(path, 1024);
            QVERIFY(!read);
            QCOMPARE(read.reason(), QStringLiteral("it is not a regular file"));
        }
        const Result<QByteArray> read = InputFile::read(dir.path(), 1024);
        QVERIFY(!read);
        QCOMPARE(read.reason(), QStringLiteral("it is a folder, not a file"));
    }

    void readsUpToTheLimitAndNoFurther() {
        QTemporaryDir dir;
        QFile file(dir.filePath("list.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3 * 1024 * 1024, 'x'));
        file.close();
        const Result<QByteArray> whole = InputFile::read(file.fileName(), 3 * 1024 * 1024);
        QVERIFY(whole);
        QCOMPARE(whole.value(), QByteArray(3 * 1024 * 1024, 'x'));
        const Result<QByteArray> over = InputFile::read(file.fileName(), 3 * 1024 * 1024 - 1);
        QVERIFY(!over);
        QCOMPARE(over.reason(), QStringLiteral("it is larger than 2 MiB"));
    }
};

QTEST_GUILESS_MAIN(TestInputFile)
#include "tst_inputfile.moc"
