#include "settings/SettingsTable.h"
#include "settings/SettingsTyping.h"

#include <QSignalSpy>
#include <QTest>

class TestSettingsTable : public QObject {
    Q_OBJECT
private slots:
    void startUpContents() {
        SettingsTable t;
        QCOMPARE(t.rows(), 23);
        QCOMPARE(t.colCount(), 3);
        QCOMPARE(t.rowTexts(0), QStringList({"Items", "Content", "Description"}));
        QCOMPARE(t.rowTexts(1), QStringList({"1.Password", "7482", "Default Password:7482"}));
        QCOMPARE(t.cell(0, 10), QStringLiteral("10.Relay swtich ON timer(0~999, Unit:Second)"));
        QCOMPARE(t.cell(2, 15),
                 QStringLiteral(
                     "Default:999,means no alarm.Setting as 000,alarm SMS once power failure."));
        QCOMPARE(t.cell(0, 22), QStringLiteral("22.GPRS Password"));
        const QStringList values = {
            "7482",       "",     "",         "",          "Unauthorized door opened",
            "DIN2 Alarm", "10",   "",         "",          "0",
            "",           "",     "Relay ON", "Relay OFF", "999",
            "0",          "9999", "",         "",          "",
            "",           ""};
        for (int row = 1; row <= 22; ++row)
            QCOMPARE(t.value(row), values.at(row - 1));
        const int indexes[] = {1, 1, 0, 1, 3, 3};
        for (size_t i = 0; i < SettingsTable::ChoiceRows.size(); ++i) {
            QCOMPARE(t.choiceIndex(SettingsTable::ChoiceRows[i]), indexes[i]);
            QVERIFY(!t.isChoiceShown(SettingsTable::ChoiceRows[i]));
        }
        QCOMPARE(t.choiceText(3), QStringLiteral("1:NO"));
        QCOMPARE(t.choiceText(9),
                 QStringLiteral("1:Only the authorized number can call to control the relay"));
    }

    void setUpRestoresStartUpValues() {
        SettingsTable t;
        t.setValue(2, QStringLiteral("123"));
        t.setValue(3, QStringLiteral("0:NC "));
        t.setValue(5, QStringLiteral("changed"));
        t.setChoiceIndex(8, 1);
        t.setUp();
        QCOMPARE(t.value(2), QString());
        QCOMPARE(t.value(3), QString());
        QCOMPARE(t.value(5), QStringLiteral("Unauthorized door opened"));
        QCOMPARE(t.choiceIndex(8), 0);
    }

    void choiceItemsBeginWithTheirIndex() {
        for (int row : SettingsTable::ChoiceRows) {
            const QStringList items = SettingsTable::choiceItems(row);
            QVERIFY(items.size() >= 2);
            for (int i = 0; i < items.size(); ++i)
                QVERIFY(items.at(i).startsWith(QString::number(i) + u':'));
        }
        QCOMPARE(SettingsTable::choiceItems(3).first(), QStringLiteral("0:NC "));
        QCOMPARE(SettingsTable::choiceItems(11).last(),
                 QStringLiteral("3:Admin Number;Caller Number"));
        QVERIFY(SettingsTable::choiceItems(5).isEmpty());
        QVERIFY(!SettingsTable::isChoiceRow(5));
    }

    void choiceSelection_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::newRow("valid") << 11 << 2 << 2;
        QTest::newRow("last item") << 9 << 1 << 1;
        QTest::newRow("no such item") << 3 << 2 << -1;
        QTest::newRow("0xFF from an erased device") << 12 << 255 << -1;
        QTest::newRow("negative") << 8 << -1 << -1;
    }
    void choiceSelection() {
        QFETCH(int, row);
        QFETCH(int, set);
        QFETCH(int, expected);
        SettingsTable t;
        t.setChoiceIndex(row, set);
        QCOMPARE(t.choiceIndex(row), expected);
        QCOMPARE(t.choiceText(row),
                 expected < 0 ? QString() : SettingsTable::choiceItems(row).at(expected));
    }

    void nonChoiceRowsHaveNoChoice() {
        SettingsTable t;
        QSignalSpy spy(&t, &SettingsTable::choiceIndexChanged);
        t.setChoiceIndex(5, 1);
        t.showChoice(5);
        QCOMPARE(t.choiceIndex(5), -1);
        QVERIFY(!t.isChoiceShown(5));
        QCOMPARE(spy.count(), 0);
        t.leaveChoice(5);
        QCOMPARE(t.value(5), QStringLiteral("Unauthorized door opened"));
    }

    void showHideAndLeave() {
        SettingsTable t;
        QSignalSpy shown(&t, &SettingsTable::choiceShownChanged);
        t.showChoice(3);
        t.showChoice(3);
        t.showChoice(12);
        QCOMPARE(shown.count(), 2);
        QVERIFY(t.isChoiceShown(3) && t.isChoiceShown(12) && !t.isChoiceShown(4));
        t.hideChoices();
        QCOMPARE(shown.count(), 4);
        for (int row : SettingsTable::ChoiceRows)
            QVERIFY(!t.isChoiceShown(row));

        // Leaving a list writes the selected item's text into the value cell.
        t.setChoiceIndex(3, 0);
        t.leaveChoice(3);
        QCOMPARE(t.value(3), QStringLiteral("0:NC "));
        t.setChoiceIndex(3, -1);
        t.leaveChoice(3);
        QCOMPARE(t.value(3), QString());
    }

    void onlyValueCellsAreEditable() {
        SettingsTable t;
        for (int row = 0; row < 23; ++row)
            for (int col = 0; col < 3; ++col) {
                const bool editable = t.flags(t.index(row, col)) & Qt::ItemIsEditable;
                QCOMPARE(editable, row > 0 && col == 1);
            }
    }

    // Text as it stands after the change, and what the editor must do with it.
    void typingRules_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectRow");
        QTest::newRow("third digit of the password") << 1 << "748"
                                                     << "748" << -1;
        QTest::newRow("fourth digit moves to row 2") << 1 << "7482"
                                                     << "7482" << 2;
        QTest::newRow("fifth digit pasted") << 1 << "74821"
                                            << "7482" << 2;
        QTest::newRow("letter in the password") << 1 << "7a"
                                                << "7" << -1;
        QTest::newRow("plus sign typed in the phone") << 2 << "+"
                                                      << "" << -1;
        QTest::newRow("phone keeps a plus a read put there") << 2 << "+861"
                                                             << "+861" << -1;
        QTest::newRow("22nd phone digit") << 2 << QString(22, u'1') << QString(22, u'1') << 3;
        QTest::newRow("12a in row 7") << 7 << "12a"
                                      << "12" << 8;
        QTest::newRow("three digits in row 10") << 10 << "999"
                                                << "999" << 11;
        QTest::newRow("letter in row 16") << 16 << "x"
                                          << "" << -1;
        QTest::newRow("fourth digit in row 17") << 17 << "9999"
                                                << "9999" << 18;
        QTest::newRow("39th character in row 5")
            << 5 << QString(39, u'a') << QString(39, u'a') << -1;
        QTest::newRow("40th character in row 5")
            << 5 << QString(40, u'a') << QString(40, u'a') << 6;
        QTest::newRow("41st character in row 14")
            << 14 << QString(41, u'a') << QString(40, u'a') << 15;
        QTest::newRow("32nd character in row 18")
            << 18 << QString(32, u'1') << QString(32, u'1') << 19;
        QTest::newRow("row 19 takes letters") << 19 << "80ab"
                                              << "80ab" << -1;
        QTest::newRow("fifth character in row 19") << 19 << "8080x"
                                                   << "8080x" << 20;
        QTest::newRow("16th in row 21") << 21 << QString(16, u'u') << QString(16, u'u') << 22;
        QTest::newRow("16th in row 22 goes back to 21")
            << 22 << QString(16, u'p') << QString(16, u'p') << 21;
        QTest::newRow("typing in a choice row") << 3 << "x"
                                                << "" << 4;
        QTest::newRow("typing in row 12") << 12 << "1:NO"
                                          << "" << 13;
    }
    void typingRules() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, selectRow);
        const auto out = SettingsTyping::textChanged(row, typed, CodePage(1252));
        QCOMPARE(out.text, text);
        QCOMPARE(out.selectRow, selectRow);
        QCOMPARE(out.changed, text != typed);
    }

    // Limits count bytes in the code page: a Chinese character counts 2.
    void typingCountsCodePageBytes() {
        const CodePage gbk(936);
        const QString twenty = QString(20, QChar(0x95E8)); // 门, 40 bytes
        auto out = SettingsTyping::textChanged(5, twenty, gbk);
        QCOMPARE(out.text, twenty);
        QCOMPARE(out.selectRow, 6);

        out = SettingsTyping::textChanged(5, QString(19, QChar(0x95E8)), gbk);
        QCOMPARE(out.selectRow, -1);

        // 39 bytes plus a two-byte character: the character that does not fit whole goes.
        out = SettingsTyping::textChanged(6, QString(39, u'a') + QChar(0x95E8), gbk);
        QCOMPARE(out.text, QString(39, u'a'));
        QCOMPARE(out.selectRow, 7);

        out = SettingsTyping::textChanged(20, QString(8, QChar(0x95E8)), gbk);
        QCOMPARE(out.selectRow, 21);
    }

    // A change anywhere in the cell, a paste included: what entered (up to the cursor) goes
    // through the rules, what was there stays.
    void editingRules_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectRow");
        QTest::newRow("password pasted with a letter") << 1 << ""
                                                       << "7a82" << 4 << "782" << -1;
        QTest::newRow("pasted over the whole password") << 1 << "7482"
                                                        << "7a82" << 4 << "782" << -1;
        QTest::newRow("letter typed inside the phone number") << 2 << "13912"
                                                              << "139a12" << 4 << "13912" << -1;
        QTest::newRow("pasted digits reach the limit") << 1 << ""
                                                       << "12345" << 5 << "1234" << 2;
        QTest::newRow("paste inside pushes the end out") << 1 << "748"
                                                         << "71248" << 3 << "7124" << 2;
        QTest::newRow("pasted letters do not count") << 7 << ""
                                                     << "12a9" << 4 << "129" << 8;
        QTest::newRow("phone paste after a read plus") << 2 << "+86"
                                                       << "+86 139-12" << 10 << "+8613912" << -1;
        QTest::newRow("phone paste before a read plus") << 2 << "+1"
                                                        << "+1+1" << 2 << "1+1" << -1;
        QTest::newRow("deleting keeps a read plus") << 2 << "+8"
                                                    << "+" << 1 << "+" << -1;
        QTest::newRow("pasted non-digit outside the basic plane")
            << 17 << "1"
            << "1\U0001F6002" << 4 << "12" << -1;
        QTest::newRow("paste beyond a text row's limit")
            << 5 << "Door "
            << "Door " + QString(40, u'a') << 45 << "Door " + QString(35, u'a') << 6;
        QTest::newRow("paste into a choice row") << 3 << ""
                                                 << "1:NO" << 4 << "" << 4;
    }
    // What the code page cannot hold goes as a letter goes from a digits row, and the outcome
    // says which character and why.
    void charactersTheCodePageCannotHoldAreRefused() {
        const auto out =
            SettingsTyping::textEdited(5, "Door ", "Door Tür 中文 ok", 15, CodePage(1252));
        QCOMPARE(out.text, QStringLiteral("Door Tür  ok"));
        QCOMPARE(out.refusal, QStringLiteral("\"中\" (U+4E2D) is not in code page 1252: the "
                                             "device cannot hold it, so it was left out."));
        const auto held = SettingsTyping::textEdited(5, "", "Tür – ok", 8, CodePage(1252));
        QCOMPARE(held.text, QStringLiteral("Tür – ok"));
        QVERIFY(held.refusal.isEmpty());
    }
    void editingRules() {
        QFETCH(int, row);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(int, selectRow);
        const auto out = SettingsTyping::textEdited(row, before, after, cursor, CodePage(1252));
        QCOMPARE(out.text, text);
        QCOMPARE(out.selectRow, selectRow);
        QCOMPARE(out.changed, text != after);
    }

    void typingAWholeValue_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("kept");
        QTest::newRow("password") << 1 << "1234"
                                  << "1234";
        QTest::newRow("password too long") << 1 << "123456"
                                           << "1234";
        QTest::newRow("letters dropped as typed") << 1 << "1a2b"
                                                  << "12";
        QTest::newRow("plus sign cannot be typed") << 2 << "+86139"
                                                   << "86139";
        QTest::newRow("three-digit row") << 7 << "15"
                                         << "15";
        QTest::newRow("three-digit row ends at the limit") << 7 << "1234"
                                                           << "123";
        QTest::newRow("12a ends the edit") << 7 << "12a9"
                                           << "12";
        QTest::newRow("port with letters") << 19 << "80ab"
                                           << "80ab";
        QTest::newRow("user name of 16") << 21 << "gprs-user-16char"
                                         << "gprs-user-16char";
        QTest::newRow("user name of 17") << 21 << "gprs-user-17chars"
                                         << "gprs-user-17char";
        QTest::newRow("choice row") << 3 << "1"
                                    << "";
        QTest::newRow("empty") << 5 << ""
                               << "";
    }
    void typingAWholeValue() {
        QFETCH(int, row);
        QFETCH(QString, value);
        QFETCH(QString, kept);
        QCOMPARE(SettingsTyping::typeIntoEmptyCell(row, value, CodePage(1252)), kept);
    }

    void parameterTextOfChoiceAndValueRows() {
        SettingsTable t;
        t.setValue(3, QStringLiteral("stale"));
        QCOMPARE(t.parameterText(3), QStringLiteral("1:NO"));
        t.setChoiceIndex(3, -1);
        QCOMPARE(t.parameterText(3), QString());
        QCOMPARE(t.parameterText(5), QStringLiteral("Unauthorized door opened"));
    }

    void nonDigitOutsideTheBasicPlaneGoesWhole() {
        const auto out = SettingsTyping::textChanged(1, QStringLiteral("12\U0001F600"));
        QCOMPARE(out.text, QStringLiteral("12"));
        QCOMPARE(out.selectRow, -1);
    }
};

QTEST_GUILESS_MAIN(TestSettingsTable)
#include "tst_settingstable.moc"
