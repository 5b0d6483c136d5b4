#include "FactoryImage.h"

#include "DeviceMemoryMap.h"

#include <QDateTime>
#include <algorithm>

using namespace DeviceMemoryMap;

namespace {

void put(QByteArray &page, int offset, const QByteArray &bytes) {
    std::copy(bytes.begin(), bytes.end(), page.begin() + offset);
}

// Texts end with a zero byte; the rest of their field stays erased.
void putText(QByteArray &page, int offset, const QByteArray &text) {
    put(page, offset, text + '\0');
}

void putNumber(QByteArray &page, int offset, quint16 value) {
    page[offset] = char(value & 0xFF);
    page[offset + 1] = char(value >> 8);
}

// What each event code stands for in the sample log, and what the device writes with it.
constexpr const char *EventContent[] = {
    "Number added", "Number deleted",      "Relay ON", "Relay OFF", "Unauthorized door opened",
    "DIN2 Alarm",   "Power source failed", "Armed",    "Disarmed",  "Power source recovered",
};
constexpr int EventCount = int(std::size(EventContent));
constexpr int SourceCount = 4; // COM port, SMS, GPRS, telephone

} // namespace

namespace FactoryImage {

QByteArray settingsPage1(const QByteArray &password) {
    QByteArray page(PageSize, char(0xFF));
    put(page, 0, password.left(PasswordSize));
    page[26] = 1; // DIN1 type: normally open
    page[27] = 1; // DIN2 type: normally open
    putText(page, 28, "Unauthorized door opened");
    putText(page, 68, "DIN2 Alarm");
    putNumber(page, 108, 10); // auto arm after a call-in, minutes
    page[110] = 1;            // only authorized numbers control the relay
    page[111] = 0;            // disarmed after power on
    putNumber(page, 112, 0);  // relay switch-on timer, kept twice
    putNumber(page, 114, 0);
    page[116] = 3; // notify admin and caller on relay ON
    page[117] = 3; // and on relay OFF
    putText(page, 118, "Relay ON");
    putText(page, 158, "Relay OFF");
    putNumber(page, 198, 9999); // GPRS upload interval, minutes
    putNumber(page, 200, 999);  // power failure alarm delay, minutes
    putNumber(page, 202, 0);    // self-check report interval, hours
    return page;
}

QByteArray historyRecord(int number) {
    QByteArray record(HistoryRecordSize, char(0xFF));
    const auto n = quint32(number);
    for (int i = 0; i < 4; ++i)
        record[i] = char((n >> (8 * i)) & 0xFF);

    // One event every 70 minutes and 11 seconds from the start of 2026: all dates plausible.
    const QDateTime start(QDate(2026, 1, 5), QTime(8, 0, 0), Qt::UTC);
    const QDateTime when = start.addSecs(qint64(number - 1) * 4211);
    record[4] = char(when.date().year() - 2000);
    record[5] = char(when.date().month());
    record[6] = char(when.date().day());
    record[7] = char(when.time().hour());
    record[8] = char(when.time().minute());
    record[9] = char(when.time().second());

    const int event = (number - 1) % EventCount;
    record[10] = char((number - 1) % SourceCount);
    record[11] = char(event);
    putText(record, 12, QByteArray("+861380013") + QByteArray::number(1000 + number % 9000));
    putText(record, 34, EventContent[event]);
    return record;
}

QByteArray build(const QByteArray &password, int historyCount) {
    QByteArray image(ImageSize, char(0xFF));
    put(image, SettingsStart, settingsPage1(password));
    const int records = std::clamp(historyCount, 0, HistoryRecordCount);
    for (int i = 0; i < records; ++i)
        put(image, HistoryStart + i * HistoryRecordSize, historyRecord(i + 1));
    return image;
}

} // namespace FactoryImage
