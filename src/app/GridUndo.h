#pragma once

#include "StringGrid.h"

#include <QList>
#include <QObject>
#include <QUndoStack>
#include <functional>

class QAbstractButton;
class QWidget;
class Session;

// The undo history of one page's grid: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, while the
// page is shown. Each operator action is one step holding the texts it changed, before and after,
// and the state beside the texts that it changed (a choice list's selection, a button's flag).
//
// Grouping: every change made while Qt handles one event (a key, a click, a button with its
// import) belongs to one action, and nothing an action does waits for the event loop in between.
// So the first change opens a step and a queued call closes it once control is back in the event
// loop; the changes in between, however many signals they came in, are that one step. A cell
// editor that writes its cell at every keystroke holds its step open until it goes, so that a
// finished cell edit is one step.
class GridUndo : public QObject {
    Q_OBJECT
public:
    // The state beside the texts, read and written back whole. `shownIn` names the cells that show
    // it: their text catches up with a change of it later (when a list is left), and that text
    // joins the step that changed the state.
    struct SideState {
        std::function<QList<int>()> read = [] { return QList<int>(); };
        std::function<void(const QList<int> &)> write = [](const QList<int> &) {};
        std::function<bool(int col, int row)> shownIn = [](int, int) { return false; };
    };

    GridUndo(StringGrid &grid, QWidget &page, SideState side);

    QUndoStack &stack() { return history; }
    // The state beside the texts may just have changed: it is recorded with this event's edits.
    void sideStateTouched();
    // A device read started by `read` is not recorded and empties the history when it ends. Call
    // this after the button's own slot is connected: Qt calls slots in the order they were
    // connected, so when ours runs the read has started or the operator declined it.
    void followDeviceReads(QAbstractButton &read, Session &session);
    // The edits made while `editor` lives are one step (an undo or redo ends it early).
    void holdStepWhileOpen(QObject &editor);

    void undo();
    void redo();

private:
    void cellsEdited(const QVector<CellEdit> &edits);
    void openStep();
    void eventDone();
    void closeStep();
    void startDeviceRead();
    void endDeviceRead();

    StringGrid &grid;
    const SideState side;
    QUndoStack history;
    bool stepOpen = false;
    bool reading = false;
    bool replaying = false;
    const QObject *holder = nullptr;
    QVector<CellEdit> stepEdits;
    // The side state as the last step, undo, redo or read left it: the open step's "before".
    QList<int> sideBefore;
};
