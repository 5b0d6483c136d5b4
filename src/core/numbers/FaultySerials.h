#pragma once

#include <QString>
#include <QStringList>

// The faulty entries a check of the number list names, said as every such check has always said
// them: how many there are, then the first three serials, then ",...." when there are more.
class FaultySerials {
public:
    void add(const QString &serial);
    // `lead`, the count, CR, `label` and the serials joined by ","; empty when none was added.
    QString message(const QString &lead, const QString &label) const;

private:
    QStringList first;
    int count = 0;
};
