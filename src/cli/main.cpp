#include "CliApp.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    CliApp cli({out, err, in, ::isatty(STDERR_FILENO) == 1, ::isatty(STDIN_FILENO) == 1});
    return cli.run(app.arguments());
}
