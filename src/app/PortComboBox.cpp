#include "PortComboBox.h"

#include <QFileInfo>

PortComboBox::PortComboBox(Trecognitionserial source, QWidget *parent)
    : QComboBox(parent)
    , source(std::move(source))
    , watcher(this->source) {
    setEditable(true);
    connect(&watcher, &SerialPortWatcher::portsChanged, this, &PortComboBox::refresh);
    refresh();
}

bool PortComboBox::entryChosen() const {
    const int i = currentIndex();
    return i >= 0 && itemText(i) == currentText() && itemData(i).isValid();
}

QString PortComboBox::portPath() const {
    return entryChosen() ? itemData(currentIndex()).toString() : currentText().trimmed();
}

void PortComboBox::offer(const QString &path) {
    offered.removeAll(path);
    offered.prepend(path);
    const int existing = findData(path);
    if (existing >= 0)
        removeItem(existing);
    insertItem(0, path, path);
    setCurrentIndex(0);
}

void PortComboBox::refresh() {
    const bool chosen = entryChosen();
    const QString typed = chosen ? QString() : currentText();
    const QString selected = chosen ? itemData(currentIndex()).toString() : QString();
    // A simulated device's terminal that has gone stays gone.
    offered.removeIf([](const QString &path) { return !QFileInfo::exists(path); });
    const QList<SerialPortInfo> ports = source.list();

    clear();
    for (const QString &path : offered)
        addItem(path, path);
    QStringList paths;
    int bridge = -1;
    for (const SerialPortInfo &p : ports) {
        paths << p.path;
        if (offered.contains(p.path))
            continue;
        if (bridge < 0 && p.isDeviceBridge() && !known.contains(p.path))
            bridge = count();
        addItem(p.description(), p.path);
    }
    known = paths;

    int choice = bridge;
    if (choice < 0 && !selected.isEmpty())
        choice = findData(selected);
    if (choice < 0 && typed.isEmpty() && count() > 0)
        choice = 0;
    setCurrentIndex(choice);
    if (choice < 0)
        setEditText(typed);
}

void PortComboBox::showPopup() {
    refresh();
    QComboBox::showPopup();
}
