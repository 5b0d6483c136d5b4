#include "PagedSave.h"

#include <QStringList>

void PagedSave::plan(QList<QByteArray> wanted, const QList<QByteArray> &held, bool everyPage,
                     bool readBackEveryPage) {
    pages = std::move(wanted);
    writes.clear();
    readBacks.clear();
    differing.clear();
    const bool known = held.size() == pages.size();
    for (int i = 0; i < pages.size(); ++i) {
        const auto page = uint16_t(i + 1);
        if (everyPage || !known || held.at(i) != pages.at(i))
            writes << page;
        if (readBackEveryPage)
            readBacks << page;
    }
    if (!readBackEveryPage)
        readBacks = writes;
}

void PagedSave::compare(uint16_t page, const uint8_t *data) {
    const QByteArray &expected = bytes(page);
    if (QByteArrayView(data, expected.size()) != expected)
        differing << page;
}

QString PagedSave::mismatchText() const {
    QStringList numbers;
    for (uint16_t page : differing)
        numbers << QString::number(page);
    return QStringLiteral("Pages that read back otherwise than written: ") +
           numbers.join(QStringLiteral(", "));
}
