#pragma once

#include "operator/Operator.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// An Operator for tests: it records everything the core shows and answers questions and file
// choices from scripted queues (falling back to a default answer when a queue is empty).
// `log` keeps every call in order as "kind:text" for sequence checks.
class RecordingOperator : public Operator {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::None;
        QString detail;
    };
    struct FileChoice {
        QString title;
        QString folder;
        QString suggestedName;
        QString filter;
    };
    struct Question {
        QString text;
        QString title;
        QString acceptCaption;
        QString rejectCaption;
    };

    // Display state as a person would see it now.
    QString statusText;
    int progressPosition = 0;
    bool progressVisible = true;

    // History.
    QStringList statusTexts;      // every text set on the panel, the empty one included
    QList<int> progressPositions; // every position set
    QList<Message> messages;
    QList<Question> confirmations;
    QList<Question> warnings;
    QList<FileChoice> fileChoices;
    QStringList log;

    // Scripted answers.
    QQueue<bool> confirmAnswers;
    bool defaultConfirm = true;
    QQueue<bool> warnAnswers;
    bool defaultWarn = true;
    QQueue<QString> saveFiles;
    QQueue<QString> openFiles;
    // Called while a message is "open", as a modal box runs the event loop meanwhile.
    std::function<void(const Message &)> onMessage;

    void setStatusText(const QString &text) override {
        statusText = text;
        statusTexts << text;
        log << QStringLiteral("status:") + text;
    }
    void setProgressPosition(int value) override {
        progressPosition = value;
        progressPositions << value;
        log << QStringLiteral("progress:%1").arg(value);
    }
    void setProgressVisible(bool visible) override {
        progressVisible = visible;
        log << (visible ? QStringLiteral("progress:shown") : QStringLiteral("progress:hidden"));
    }
    void message(const QString &text, const QString &title, Icon icon,
                 const QString &detail) override {
        messages << Message{text, title, icon, detail};
        log << QStringLiteral("message:") + text;
        if (onMessage)
            onMessage(messages.last());
    }
    // A question's check box is left in this state; unset, as it was.
    std::optional<bool> optionAnswer;
    bool confirmWithOption(const QString &text, const QString &details, const QString &option,
                           bool &checked, const QString &title, const QString &acceptCaption,
                           const QString &rejectCaption, Icon icon) override {
        if (optionAnswer)
            checked = *optionAnswer;
        return Operator::confirmWithOption(text, details, option, checked, title, acceptCaption,
                                           rejectCaption, icon);
    }
    bool confirm(const QString &text, const QString &title, const QString &acceptCaption,
                 const QString &rejectCaption, Icon) override {
        confirmations << Question{text, title, acceptCaption, rejectCaption};
        log << QStringLiteral("confirm:") + text;
        return confirmAnswers.isEmpty() ? defaultConfirm : confirmAnswers.dequeue();
    }
    bool warnOkCancel(const QString &text, const QString &title) override {
        warnings << Question{text, title, {}, {}};
        log << QStringLiteral("warn:") + text;
        return warnAnswers.isEmpty() ? defaultWarn : warnAnswers.dequeue();
    }
    QString chooseSaveFile(const QString &title, const QString &folder,
                           const QString &suggestedName, const QString &filter) override {
        fileChoices << FileChoice{title, folder, suggestedName, filter};
        log << QStringLiteral("save:") + title;
        return saveFiles.isEmpty() ? QString() : saveFiles.dequeue();
    }
    QString chooseOpenFile(const QString &title, const QString &folder,
                           const QString &filter) override {
        fileChoices << FileChoice{title, folder, {}, filter};
        log << QStringLiteral("open:") + title;
        return openFiles.isEmpty() ? QString() : openFiles.dequeue();
    }

    QStringList messageTexts() const {
        QStringList out;
        for (const Message &m : messages)
            out << m.text;
        return out;
    }
    // Forgets the history, keeping the display state and the scripted answers.
    void clearHistory() {
        statusTexts.clear();
        progressPositions.clear();
        messages.clear();
        confirmations.clear();
        warnings.clear();
        fileChoices.clear();
        log.clear();
    }
};
