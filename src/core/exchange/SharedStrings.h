#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class ZipPackage;

// The shared strings part of an xlsx workbook, read as it is unpacked and kept as its UTF-8
// bytes with one offset per string: a part of millions of tiny strings costs a few bytes each,
// not a tree node and a string object each.
class SharedStrings {
public:
    // Reads `part` of `zip`; false with `reason` for malformed XML or a wrong root.
    bool read(ZipPackage &zip, const QString &part, QString *reason);

    qsizetype size() const { return ends.size(); }
    // String `index` (0 <= index < size()), its _xHHHH_ escapes undone.
    QString at(qsizetype index) const;

private:
    QByteArray texts;
    QVector<quint32> ends; // where each string ends in `texts`
};
