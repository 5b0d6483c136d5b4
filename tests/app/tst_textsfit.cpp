#include "PageControl.h"
#include "SettingsPage.h"
#include "StatusPanels.h"
#include "TForm1.h"
#include "settings/SettingsTable.h"

#include <QComboBox>
#include <QTest>

// On the screen the window was laid out for, every caption, heading and status text of the
// program shows whole; a cell too narrow for its text offers it whole as a tooltip.
class TestTextsFit : public QObject {
    Q_OBJECT
private slots:
    void init() {
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->size(), QSize(1054, 653));
    }
    void cleanup() { w.reset(); }

    void fontIsPicked() {
        QCOMPARE(QFontInfo(w->font()).family(), QStringLiteral("Liberation Sans"));
    }

    void statusTexts() {
        QStringList cut;
        for (const char *text :
             {"Read settings", "Password verifing", "Data communication", "Reading basic setting",
              "Reading telephone number information", "Reading number list:374/375",
              "Reading historical data", "Reading historical data:499/500", "Save settings",
              "Save list", "Receive timeout", "Undefined data", "Invalid data",
              "The second page"}) {
            w->stat1()->setPanelText(2, QString::fromLatin1(text));
            if (w->stat1()->shownText(2) != QLatin1String(text))
                cut << QString::fromLatin1(text);
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));
    }

    // The settings' captions, values and descriptions by the delegate's own measure, against
    // the width their columns give them.
    void settingsCells() {
        SettingsGridView &grid = *w->settingsPage()->grid();
        QStyleOptionViewItem option;
        option.initFrom(&grid);
        option.font = grid.font();
        option.features = QStyleOptionViewItem::HasDisplay;
        QStringList cut;
        for (int row = 0; row < w->settingsTable().rows(); ++row) {
            for (int col = 0; col < 3; ++col) {
                const QModelIndex cell = grid.model()->index(row, col);
                if (grid.itemDelegate()->sizeHint(option, cell).width() > grid.columnWidth(col))
                    cut << cell.data().toString();
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));
    }

    // A drop-down too narrow for its choice names it in its tooltip, and its list is wide enough
    // for every item.
    void choiceLists() {
        SettingsGridView &grid = *w->settingsPage()->grid();
        for (int row : SettingsTable::ChoiceRows) {
            QComboBox *box = grid.choiceEditor(row);
            for (int i = 0; i < box->count(); ++i) {
                box->setCurrentIndex(i);
                const int need = box->fontMetrics().horizontalAdvance(box->itemText(i));
                if (need + 30 > box->width())
                    QCOMPARE(box->toolTip(), box->itemText(i));
            }
            const QFontMetrics list(box->view()->font());
            for (int i = 0; i < box->count(); ++i)
                QVERIFY(box->view()->minimumWidth() > list.horizontalAdvance(box->itemText(i)));
        }
    }

private:
    std::unique_ptr<TForm1> w;
};

QTEST_MAIN(TestTextsFit)
#include "tst_textsfit.moc"
