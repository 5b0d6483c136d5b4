#pragma once

#include <QPixmap>
#include <QStringList>

// The picture of the Help page: the configuration steps, from unpacking the device to
// restarting it with its new settings.
namespace HelpPicture {

constexpr int Width = 759;
constexpr int Height = 505;

QString title();
QStringList steps();
QPixmap render();

} // namespace HelpPicture
