#pragma once

#include "FrameBytes.h"
#include "RecordingOperator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "protocol/OperationOutcome.h"
#include "protocol/ReceivePath.h"
#include "protocol/RequestSender.h"
#include "protocol/TRecData.h"
#include "protocol/TRecValidCom.h"
#include "protocol/Tpasswordverify.h"

#include <QByteArray>
#include <QList>

// The receive path and the sending procedure wired together without a serial port: requests
// are captured in `sent`, replies are fed byte by byte with feed().
struct ProtocolHarness {
    RecordingOperator op;
    TRecData rec;
    TRecValidCom valid;
    OperationOutcome outcome{op};
    Tpasswordverify password{outcome};
    Tprogressbar_ctrl progress{op};
    Tstatusbar_ctrl status{op, progress};
    ReceivePath receive{rec, valid, password, status, progress, outcome};
    QList<QByteArray> sent;
    bool linkOpen = true;
    RequestSender sender{[this](const char *bytes, quint16 count) {
                             if (!linkOpen)
                                 return false;
                             sent << QByteArray(bytes, count);
                             return true;
                         },
                         status, receive};
    QList<QPair<bool, QString>> outcomes;

    ProtocolHarness() {
        QObject::connect(&outcome, &OperationOutcome::ended,
                         [this](bool ok, const QString &text) { outcomes << qMakePair(ok, text); });
    }

    // A request goes out, so that its reply is awaited.
    void request(uint8_t command, int32_t address) {
        sender.send(command, address, QStringLiteral("Request"));
    }

    void feed(const QByteArray &bytes) {
        receive.cm1ReceiveData(nullptr, bytes.constData(), quint16(bytes.size()));
    }

    static QByteArray frame(uint8_t command, int32_t address, const QByteArray &data = {}) {
        return frameBytes(command, address, data);
    }
};
