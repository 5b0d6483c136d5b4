#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>

class OperationOutcome;
class Operator;

// Follows one paged read of a grid and, when it ends before its last page (a timeout, a
// hang-up), tells the operator in the status panel that the grid is only partly read: the pages
// read hold the device's values, the other rows what they held before.
class PartialRead {
public:
    // `grid` names what is read, as the panel says it ("the settings").
    PartialRead(OperationOutcome &outcome, Operator &op, QString grid);
    ~PartialRead();
    PartialRead(const PartialRead &) = delete;
    PartialRead &operator=(const PartialRead &) = delete;

    void started(int pageCount);
    void pageRead() { ++pagesRead; }

private:
    void ended(bool ok);

    Operator &op;
    QString grid;
    QMetaObject::Connection watch;
    // Owns the pending status text, so that it goes with this object.
    QObject context;
    bool reading = false;
    int pages = 0;
    int pagesRead = 0;
};
