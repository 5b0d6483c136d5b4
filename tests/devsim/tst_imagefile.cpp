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
        QVERIFY(ImageFile::save(path, contents(1000, 1)));
        QVERIFY(ImageFile::save(path, contents(1000, 2))); // replaces the first
        const Result<QByteArray> image = ImageFile::load(path, 1000);
        QVERIFY(image);
        QCOMPARE(image.value(), contents(1000, 2));
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
        const Result<QByteArray> image = ImageFile::load(path, 1000);
        QVERIFY(!image);
        QVERIFY(image.reason().contains(path));
        QCOMPARE(readFile(path), contents(size, 3));
    }

    void missingFileIsReported() {
        QTemporaryDir dir;
        const Result<QByteArray> image = ImageFile::load(dir.filePath("none.img"), 1000);
        QVERIFY(!image);
        QVERIFY(image.reason().contains("none.img"));
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("device.img");
        QVERIFY(ImageFile::save(path, contents(1000, 4)));
        Result<void> saved;
        {
            const FileSizeLimit diskFull(500); // the disk fills up half way through the new image
            saved = ImageFile::save(path, contents(1000, 5));
        }
        QVERIFY(!saved);
        QVERIFY2(saved.reason().contains(path), qPrintable(saved.reason()));
        QCOMPARE(readFile(path), contents(1000, 4));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"device.img"});
    }

    void impossiblePathsAreNamed() {
        QTemporaryDir dir;
        // A directory where the file should go cannot be replaced by a rename.
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        const Result<void> taken = ImageFile::save(dir.filePath("taken"), contents(1000, 5));
        QVERIFY(!taken);
        QVERIFY(taken.reason().contains("taken"));
        const Result<void> missing =
            ImageFile::save(dir.filePath("missing/device.img"), contents(1000, 5));
        QVERIFY(!missing);
        QVERIFY(missing.reason().contains("missing"));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestImageFile)
#include "tst_imagefile.moc"
