#include "ConfigurationFolder.h"
#include "ShortDate.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // The program's dates look the same whatever the desktop's locale is.
    void shortDateIgnoresLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("de_DE") << "de_DE";
        QTest::newRow("zh_CN") << "zh_CN";
        QTest::newRow("ar_EG") << "ar_EG";
    }
    void shortDateIgnoresLocale() {
        QFETCH(QString, locale);
        const QLocale old;
        QLocale::setDefault(QLocale(locale));
        const QString text = ShortDate::format(QDate(2013, 5, 7));
        const QDate back = ShortDate::parse(QStringLiteral("2024/02/29"));
        QLocale::setDefault(old);
        QCOMPARE(text, QStringLiteral("2013/05/07"));
        QCOMPARE(back, QDate(2024, 2, 29));
    }

    void shortDateRejectsOtherForms_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("dashes") << "2013-05-07";
        QTest::newRow("no such day") << "2024/02/30";
        QTest::newRow("month 13") << "2024/13/05";
        QTest::newRow("empty") << "";
    }
    void shortDateRejectsOtherForms() {
        QFETCH(QString, text);
        QVERIFY(!ShortDate::parse(text).isValid());
    }

    void folderBesideWritableProgram() {
        QTemporaryDir program, user;
        const QString folder = ConfigurationFolder::prepare(program.path(), user.path());
        QCOMPARE(folder, program.path() + "/configuration/");
        QVERIFY(QDir(folder).exists());
        QVERIFY(QDir(user.path()).isEmpty());
    }

    void folderKeptWhenAlreadyThere() {
        QTemporaryDir program, user;
        QVERIFY(QDir(program.path()).mkdir("configuration"));
        QFile kept(program.path() + "/configuration/profile.xlsx");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        QCOMPARE(ConfigurationFolder::prepare(program.path(), user.path()),
                 program.path() + "/configuration/");
        QVERIFY(kept.exists());
    }

    // A program folder where nothing can be created sends the files to the user's data folder.
    void folderInUserDataWhenProgramFolderUnusable() {
        QTemporaryDir program, user;
        const QString blocker = program.path() + "/not-a-folder";
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString folder = ConfigurationFolder::prepare(blocker, user.path());
        QCOMPARE(folder, user.path() + "/velmora-configurator/configuration/");
        QVERIFY(QDir(folder).exists());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
