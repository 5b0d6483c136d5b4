#include "PageScreenshots.h"
#include "TForm1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Configures a GSM relay controller."));
    options.addHelpOption();
    const QCommandLineOption screenshots(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of each page into <folder> and quit."),
        QStringLiteral("folder"));
    options.addOption(screenshots);
    options.process(app);

    TForm1 window;
    window.show();
    if (options.isSet(screenshots)) {
        // Taken once the window has been laid out and painted.
        QTimer::singleShot(500, &window, [&] {
            QString error;
            if (!savePageScreenshots(window, options.value(screenshots), &error)) {
                std::fprintf(stderr, "velmora-configurator: %s\n", qPrintable(error));
                QApplication::exit(1);
                return;
            }
            QApplication::exit(0);
        });
    }
    return app.exec();
}
