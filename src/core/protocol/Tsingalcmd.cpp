#include "Tsingalcmd.h"

#include "RequestSender.h"

void Tsingalcmd::Send() {
    if (!sender.idle())
        return;
    // The device's answer replaces this text with its own ("Checking mode", "Delete command").
    sender.send(CommandCode, 0, QStringLiteral("Password verifying"));
}
