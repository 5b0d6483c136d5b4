#include "CliApp.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[]) {
    // A reader that goes away (`velmora-cli numbers add X | head`) must not end the process
    // halfway through a save: the write fails, and the operation on the device goes on.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    CliApp cli({out, err, in, ::isatty(STDERR_FILENO) == 1, ::isatty(STDIN_FILENO) == 1});
    return cli.run(app.arguments());
}
