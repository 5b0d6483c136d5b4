#include "GridUndo.h"

#include "Session.h"

#include <QAbstractButton>
#include <QAction>
#include <QUndoCommand>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

// One operator action: the texts it changed and the side state around it. Pushing it finds the
// change already made, so its first redo does nothing.
class GridStep : public QUndoCommand {
public:
    GridStep(StringGrid &grid, const GridUndo::SideState &side, QVector<CellEdit> edits,
             QList<int> before, QList<int> after)
        : grid(grid)
        , side(side)
        , edits(std::move(edits))
        , before(std::move(before))
        , after(std::move(after)) {}

    void undo() override {
        grid.replayEdits(edits, StringGrid::Replay::Backward);
        side.write(before);
    }
    void redo() override {
        if (std::exchange(pushed, false))
            return;
        grid.replayEdits(edits, StringGrid::Replay::Forward);
        side.write(after);
    }
    int id() const override { return 1; }
    // A choice list's new selection is a step of its own the moment it is picked; its text
    // reaches the value cell only when the list is left, and belongs to the same step.
    bool mergeWith(const QUndoCommand *other) override {
        const auto *next = static_cast<const GridStep *>(other);
        const bool catchingUp =
            edits.isEmpty() && before != after && next->before == next->after &&
            std::all_of(next->edits.begin(), next->edits.end(),
                        [this](const CellEdit &e) { return side.shownIn(e.col, e.row); });
        if (catchingUp)
            edits = next->edits;
        return catchingUp;
    }

private:
    StringGrid &grid;
    const GridUndo::SideState &side;
    QVector<CellEdit> edits;
    QList<int> before;
    QList<int> after;
    bool pushed = true;
};

QAction *shortcutAction(QWidget &page, const QList<QKeySequence> &keys) {
    auto *action = new QAction(&page);
    action->setShortcuts(keys);
    page.addAction(action);
    return action;
}

} // namespace

GridUndo::GridUndo(StringGrid &grid, QWidget &page, SideState side)
    : QObject(&page)
    , grid(grid)
    , side(std::move(side))
    , sideBefore(this->side.read()) {
    connect(&grid, &StringGrid::cellsEdited, this, &GridUndo::cellsEdited);
    // A window-wide shortcut of a page counts only while the page is visible.
    connect(shortcutAction(page, {QKeySequence(Qt::CTRL | Qt::Key_Z)}), &QAction::triggered, this,
            &GridUndo::undo);
    connect(shortcutAction(page, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                  QKeySequence(Qt::CTRL | Qt::Key_Y)}),
            &QAction::triggered, this, &GridUndo::redo);
}

void GridUndo::sideStateTouched() {
    if (!reading && !replaying)
        openStep();
}

void GridUndo::followDeviceReads(QAbstractButton &read, Session &session) {
    connect(&read, &QAbstractButton::clicked, this, [this, &session] {
        if (session.outcome().running())
            startDeviceRead();
    });
    connect(&session, &Session::operationRunning, this, [this](bool running) {
        if (!running && reading)
            endDeviceRead();
    });
}

void GridUndo::holdStepWhileOpen(QObject &editor) {
    // A new editor begins a new cell edit.
    if (holder && holder != &editor)
        closeStep();
    holder = &editor;
    connect(&editor, &QObject::destroyed, this, [this, &editor] {
        if (holder != &editor)
            return;
        holder = nullptr;
        closeStep();
    });
}

void GridUndo::undo() {
    closeStep();
    if (reading || !history.canUndo())
        return;
    replaying = true;
    history.undo();
    replaying = false;
    sideBefore = side.read();
}

void GridUndo::redo() {
    closeStep();
    if (reading || !history.canRedo())
        return;
    replaying = true;
    history.redo();
    replaying = false;
    sideBefore = side.read();
}

void GridUndo::cellsEdited(const QVector<CellEdit> &edits) {
    openStep();
    stepEdits += edits;
}

void GridUndo::openStep() {
    if (stepOpen)
        return;
    stepOpen = true;
    QMetaObject::invokeMethod(this, &GridUndo::eventDone, Qt::QueuedConnection);
}

void GridUndo::eventDone() {
    if (!holder)
        closeStep();
}

void GridUndo::closeStep() {
    if (!std::exchange(stepOpen, false))
        return;
    QList<int> after = side.read();
    if (stepEdits.isEmpty() && after == sideBefore)
        return;
    history.push(new GridStep(grid, side, std::exchange(stepEdits, {}),
                              std::exchange(sideBefore, after), after));
}

void GridUndo::startDeviceRead() {
    closeStep();
    reading = true;
    grid.setReportingEdits(false);
}

void GridUndo::endDeviceRead() {
    reading = false;
    grid.setReportingEdits(true);
    history.clear();
    sideBefore = side.read();
}
