#include "DemoDevice.h"
#include "PageScreenshots.h"
#include "TForm1.h"
#include "exchange/CodePage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Configures a GSM relay controller."));
    options.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the program's name and version."));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start a simulated device (password 7482, sample history) and offer its "
                       "port first."));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of each page into <folder> and quit."),
        QStringLiteral("folder"));
    options.addOption(demo);
    options.addOption(screenshots);
    options.addOption(version);

    // Answered before the QApplication exists, so that it needs no display. Qt's own switches
    // (-platform ...) are unknown to this first pass; process() below reports real mistakes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    options.parse(arguments);
    if (options.isSet(version)) {
        std::printf("velmora-configurator %s\n", VELMORA_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    options.process(app);

    // The simulated device outlives the window, so the port never vanishes under an open link.
    DemoDevice device;
    if (options.isSet(demo)) {
        QString error;
        if (!device.start(DemoDevice::locate(), error)) {
            std::fprintf(stderr, "velmora-configurator: cannot start the simulated device: %s\n",
                         qPrintable(error));
            return 1;
        }
    }

    TForm1 window;
    // Without a converter for its code page every text of the settings would be read and saved
    // empty, the password included: the program ends before it can wipe a device.
    if (const QString problem = CodePage::current().conversionProblem(); !problem.isEmpty()) {
        window.operatorInterface().message(problem, window.windowTitle(), Operator::Icon::Error,
                                           QStringLiteral("The program ends now."));
        return 1;
    }
    if (options.isSet(demo))
        window.offerPort(device.terminal());
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
