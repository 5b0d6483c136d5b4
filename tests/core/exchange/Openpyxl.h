#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// openpyxl, an independent reader and writer of xlsx files, as a reference in tests. It runs in
// the system's Python, where the project's set-up installs it.
namespace Openpyxl {

bool available();
// Runs a Python script with arguments; its standard output goes to `output`. False with the
// script's error output in `error` when it fails.
bool run(const QString &script, const QStringList &arguments, QByteArray *output, QString *error);

} // namespace Openpyxl
