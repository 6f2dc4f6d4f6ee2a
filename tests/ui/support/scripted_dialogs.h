#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <utility>

#include "ui/common/dialogs.h"

// Dialogs for the screen tests: answers are queued beforehand and every box
// is recorded. A box without a queued answer is answered with Cancel (or a
// cancelled input box) and counted in `unscripted`.
class ScriptedDialogs final : public Dialogs {
public:
    enum class Kind { Message, Confirm, Input, Beep };

    struct Shown {
        Kind kind;
        QString text;
        Icon icon = Icon::None;
        QString proposed;
        bool masked = false;
        bool okIsDefault = false;
    };

    void setNextAnswer(bool ok) { confirms_.push_back(ok); }
    void setNextInput(const std::optional<QString>& text) {
        inputs_.push_back({text.has_value(), text.value_or(QString())});
    }

    void message(QWidget*, const QString& text, Icon icon) override;
    bool confirm(QWidget*, const QString& text, Icon icon, bool okIsDefault) override;
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& proposed,
                                 bool masked) override;
    void beep() override;

    // The texts of every box shown, in order.
    QStringList texts() const;
    const Shown& last() const { return shown.back(); }
    void clear();
    bool allAnswersUsed() const { return confirms_.empty() && inputs_.empty(); }

    QList<Shown> shown;
    int unscripted = 0;

private:
    std::deque<bool> confirms_;
    std::deque<std::pair<bool, QString>> inputs_;  // answered?, text
};
