#pragma once

#include <QString>

class Operator;
class QWidget;
class Session;

// "Compare with file…" on the number page and the settings page: a file is chosen and loaded,
// the device's area is read into a table of its own (the page's grid keeps what the operator
// has in it), and the differences show in a DifferenceDialog over `window`. While the read runs
// the session routes the area's replies to that read; the page's transfer gets them back when it
// ends.
namespace CompareWithFile {

void numbers(QWidget *window, Session &session, Operator &op, const QString &folder);
void settings(QWidget *window, Session &session, Operator &op, const QString &folder);

} // namespace CompareWithFile
