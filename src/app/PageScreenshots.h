#pragma once

#include <QString>

class TForm1;

// Saves a picture of the shown window with each page in front, as page-1.png .. page-4.png in
// `folder`. False, with the reason in `error`, when a picture cannot be written.
bool savePageScreenshots(TForm1 &window, const QString &folder, QString *error);
