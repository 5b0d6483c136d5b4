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
            QByteArray data;
            QString reason;
            QVERIFY(!InputFile::read(path, 1024, &data, &reason));
            QCOMPARE(reason, QStringLiteral("it is not a regular file"));
        }
        QByteArray data;
        QString reason;
        QVERIFY(!InputFile::read(dir.path(), 1024, &data, &reason));
        QCOMPARE(reason, QStringLiteral("it is a folder, not a file"));
    }

    void readsUpToTheLimitAndNoFurther() {
        QTemporaryDir dir;
        QFile file(dir.filePath("list.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3 * 1024 * 1024, 'x'));
        file.close();
        QByteArray data;
        QString reason;
        QVERIFY(InputFile::read(file.fileName(), 3 * 1024 * 1024, &data, &reason));
        QCOMPARE(data, QByteArray(3 * 1024 * 1024, 'x'));
        QVERIFY(!InputFile::read(file.fileName(), 3 * 1024 * 1024 - 1, &data, &reason));
        QCOMPARE(reason, QStringLiteral("it is larger than 2 MiB"));
        QVERIFY(data.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInputFile)
#include "tst_inputfile.moc"
