#include "SettingsTable.h"

#include <algorithm>

namespace {

const QString inputTypes[] = {QStringLiteral("0:NC "), QStringLiteral("1:NO")};
const QString armStates[] = {QStringLiteral("0:Disarm"), QStringLiteral("1:Arm")};
const QString relayAuthorization[] = {
    QStringLiteral("0:All number can call to control the Relay"),
    QStringLiteral("1:Only the authorized number can call to control the relay")};
const QString notifyWhom[] = {QStringLiteral("0:None"), QStringLiteral("1:Admin Number"),
                              QStringLiteral("2:Caller Number"),
                              QStringLiteral("3:Admin Number;Caller Number")};

template <size_t N> QStringList listOf(const QString (&items)[N]) {
    return QStringList(std::begin(items), std::end(items));
}

struct Parameter {
    const char *caption;
    const char *description;
};

const Parameter parameters[SettingsTable::ParameterCount] = {
    {"1.Password", "Default Password:7482"},
    {"2.SIM Card Phone No", "Up to 21 digits, supports country code"},
    {"3.DIN1 Type", "Default:NO"},
    {"4.DIN2 Type", "Default:NO"},
    {"5.DIN1 Alarm Content", "Up to 40 characters"},
    {"6.DIN2 Alarm Content", "Up to 40 characters"},
    {"7.Auto Arm after authorized number call-in(0~999)",
     "Default:10,Unit:Minute.Setting to 0 means Disable Auto Arm"},
    {"8.Arm/Disarm after power on", "Default:Disarm. System will alarm only on Arm status"},
    {"9.Relay Control Authorization", "Default:Only authorized number(s) can call to control"},
    {"10.Relay swtich ON timer(0~999, Unit:Second)",
     "Default:0,means relay ON 0.5 seconds then OFF after call in"},
    {"11.When relay switch ON by authorized number,notify", "Default3:Admin Number;Caller Number"},
    {"12.When relay switch OFF by authorized number,notify", "Default3:Admin Number;Caller Number"},
    {"13.SMS content when relay ON", "Up to 40 characters"},
    {"14.SMS content when relay OFF", "Up to 40 characters"},
    {"15.Power source failure alarm delay(0~999,Unit:Min)",
     "Default:999,means no alarm.Setting as 000,alarm SMS once power failure."},
    {"16.Self-Check Report Interval(0-999,Unit:Hour)", "Default:0,means no report"},
    {"17.GPRS Data Upload Interval Time(0-9999,Unit:Min)",
     "Default:9999,disable.Setting as 0 means always on line"},
    {"18.Server IP Address", "Up to 32 characters"},
    {"19.Server Port(0-65535)", "Default:65535"},
    {"20.GPRS APN", "Call mobile operator to ask the APN name if you need data function"},
    {"21.GPRS User Name", "Call mobile operator to ask the APN name if you need data function"},
    {"22.GPRS Password", "Call mobile operator to ask the APN name if you need data function"},
};

int choiceSlot(int row) {
    const auto &rows = SettingsTable::ChoiceRows;
    const auto it = std::find(rows.begin(), rows.end(), row);
    return it == rows.end() ? -1 : int(it - rows.begin());
}

} // namespace

SettingsTable::SettingsTable(QObject *parent)
    : StringGrid(ColumnCount, RowCount, parent) {
    setUp();
    markBaseline();
}

void SettingsTable::setUp() {
    setCell(0, 0, QStringLiteral("Items"));
    setCell(1, 0, QStringLiteral("Content"));
    setCell(2, 0, QStringLiteral("Description"));
    for (int row = 1; row <= ParameterCount; ++row) {
        setCell(CaptionColumn, row, QString::fromLatin1(parameters[row - 1].caption));
        setCell(DescriptionColumn, row, QString::fromLatin1(parameters[row - 1].description));
        setValue(row, QString());
    }
    setValue(1, QStringLiteral("7482"));
    setChoiceIndex(3, 1);
    setChoiceIndex(4, 1);
    setValue(5, QStringLiteral("Unauthorized door opened"));
    setValue(6, QStringLiteral("DIN2 Alarm"));
    setValue(7, QStringLiteral("10"));
    setChoiceIndex(8, 0);
    setChoiceIndex(9, 1);
    setValue(10, QStringLiteral("0"));
    setChoiceIndex(11, 3);
    setChoiceIndex(12, 3);
    setValue(13, QStringLiteral("Relay ON"));
    setValue(14, QStringLiteral("Relay OFF"));
    setValue(15, QStringLiteral("999"));
    setValue(16, QStringLiteral("0"));
    setValue(17, QStringLiteral("9999"));
}

QString SettingsTable::parameterText(int row) const {
    return isChoiceRow(row) ? choiceText(row) : value(row);
}

bool SettingsTable::isChoiceRow(int row) {
    return choiceSlot(row) >= 0;
}

QStringList SettingsTable::choiceItems(int row) {
    switch (row) {
    case 3:
    case 4:
        return listOf(inputTypes);
    case 8:
        return listOf(armStates);
    case 9:
        return listOf(relayAuthorization);
    case 11:
    case 12:
        return listOf(notifyWhom);
    default:
        return {};
    }
}

SettingsTable::Choice *SettingsTable::choice(int row) {
    const int slot = choiceSlot(row);
    return slot < 0 ? nullptr : &choices[slot];
}

const SettingsTable::Choice *SettingsTable::choice(int row) const {
    const int slot = choiceSlot(row);
    return slot < 0 ? nullptr : &choices[slot];
}

int SettingsTable::choiceIndex(int row) const {
    const Choice *c = choice(row);
    return c ? c->index : -1;
}

void SettingsTable::setChoiceIndex(int row, int index) {
    Choice *c = choice(row);
    if (!c)
        return;
    if (index < 0 || index >= choiceItems(row).size())
        index = -1;
    if (c->index == index)
        return;
    c->index = index;
    emit choiceIndexChanged(row);
    emit dataChanged(this->index(row, 0), this->index(row, ValueColumn),
                     {CellChangedRole, RowChangedRole});
}

QString SettingsTable::choiceText(int row) const {
    const int index = choiceIndex(row);
    return index < 0 ? QString() : choiceItems(row).at(index);
}

bool SettingsTable::isChoiceShown(int row) const {
    const Choice *c = choice(row);
    return c && c->shown;
}

void SettingsTable::showChoice(int row) {
    Choice *c = choice(row);
    if (!c || c->shown)
        return;
    c->shown = true;
    emit choiceShownChanged(row);
}

void SettingsTable::hideChoices() {
    for (int row : ChoiceRows) {
        Choice *c = choice(row);
        if (c->shown) {
            c->shown = false;
            emit choiceShownChanged(row);
        }
    }
}

void SettingsTable::leaveChoice(int row) {
    if (isChoiceRow(row))
        setValue(row, choiceText(row));
}

Qt::ItemFlags SettingsTable::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = StringGrid::flags(index);
    if (index.isValid() && index.row() > 0 && index.column() == ValueColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

void SettingsTable::markBaselineRows(int firstRow, int lastRow) {
    for (size_t i = 0; i < choices.size(); ++i)
        if (ChoiceRows[i] >= firstRow && ChoiceRows[i] <= lastRow)
            baselineChoices[i] = choices[i].index;
    StringGrid::markBaselineRows(firstRow, lastRow);
}

bool SettingsTable::isCellChanged(int col, int row) const {
    const int slot = choiceSlot(row);
    if (slot >= 0 && col == ValueColumn)
        return choices[size_t(slot)].index != baselineChoices[size_t(slot)];
    return StringGrid::isCellChanged(col, row);
}

bool SettingsTable::isRowChanged(int row) const {
    const int slot = choiceSlot(row);
    if (slot >= 0)
        return choices[size_t(slot)].index != baselineChoices[size_t(slot)];
    return StringGrid::isRowChanged(row);
}

void SettingsTable::copyContentFrom(const SettingsTable &other) {
    copyCellsFrom(other);
    for (int row : ChoiceRows)
        setChoiceIndex(row, other.choiceIndex(row));
}

void SettingsTable::setBaselineFrom(const SettingsTable &other) {
    for (size_t i = 0; i < choices.size(); ++i)
        baselineChoices[i] = other.choices[i].index;
    StringGrid::setBaselineFrom(other);
}
