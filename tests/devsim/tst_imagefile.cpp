#include "FileSizeLimit.h"
#include "ImageFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(int size, char seed) {
    QByteArray bytes(size, 0);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 13);
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestImageFile : public QObject {
    Q_OBJECT
private slots:
    void savedImageLoadsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("device.img");
        QString error;
        QVERIFY(ImageFile::save(path, contents(1000, 1), error));
        QVERIFY(ImageFile::save(path, contents(1000, 2), error)); // replaces the first
        QByteArray image;
        QVERIFY(ImageFile::load(path, 1000, image, error));
        QCOMPARE(image, contents(1000, 2));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"device.img"});
    }

    void wrongSizeIsRefused_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("short") << 999;
        QTest::newRow("long") << 1001;
    }
    void wrongSizeIsRefused() {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString path = dir.filePath("other.bin");
        writeFile(path, contents(size, 3));
        QByteArray image = "kept";
        QString error;
        QVERIFY(!ImageFile::load(path, 1000, image, error));
        QVERIFY(error.contains(path));
        QCOMPARE(image, QByteArray("kept"));
        QCOMPARE(readFile(path), contents(size, 3));
    }

    void missingFileIsReported() {
        QTemporaryDir dir;
        QByteArray image;
        QString error;
        QVERIFY(!ImageFile::load(dir.filePath("none.img"), 1000, image, error));
        QVERIFY(error.contains("none.img"));
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("device.img");
        QString error;
        QVERIFY(ImageFile::save(path, contents(1000, 4), error));
        {
            const FileSizeLimit diskFull(500); // the disk fills up half way through the new image
            QVERIFY(!ImageFile::save(path, contents(1000, 5), error));
        }
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(readFile(path), contents(1000, 4));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"device.img"});
    }

    void impossiblePathsAreNamed() {
        QTemporaryDir dir;
        QString error;
        // A directory where the file should go cannot be replaced by a rename.
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QVERIFY(!ImageFile::save(dir.filePath("taken"), contents(1000, 5), error));
        QVERIFY(error.contains("taken"));
        QVERIFY(!ImageFile::save(dir.filePath("missing/device.img"), contents(1000, 5), error));
        QVERIFY(error.contains("missing"));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestImageFile)
#include "tst_imagefile.moc"
