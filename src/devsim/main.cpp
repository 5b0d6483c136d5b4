#include "DevsimCommandLine.h"
#include "SimulatedDevice.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const DevsimCommandLine commandLine = DevsimCommandLine::parse(app.arguments());
    switch (commandLine.action) {
    case DevsimCommandLine::Action::ShowHelp:
        std::fputs(qPrintable(commandLine.text), stdout);
        return 0;
    case DevsimCommandLine::Action::Fail:
        std::fprintf(stderr, "velmora-devsim: %s\n(--help lists the switches)\n",
                     qPrintable(commandLine.text));
        return 2;
    case DevsimCommandLine::Action::Serve:
        break;
    }

    // Blocked before the device's thread starts, so that only sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        SimulatedDevice device(commandLine.options);
        std::printf("%s\n", qPrintable(device.slavePath()));
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmora-devsim: %s\n", e.what());
        return 1;
    }
    return 0;
}
