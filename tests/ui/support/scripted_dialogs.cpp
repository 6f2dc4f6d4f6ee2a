#include "tests/ui/support/scripted_dialogs.h"

void ScriptedDialogs::message(QWidget*, const QString& text, Icon icon) {
    shown.append({Kind::Message, text, icon, {}, false, false});
}

bool ScriptedDialogs::confirm(QWidget*, const QString& text, Icon icon, bool okIsDefault) {
    shown.append({Kind::Confirm, text, icon, {}, false, okIsDefault});
    if (confirms_.empty()) {
        ++unscripted;
        return false;
    }
    const bool ok = confirms_.front();
    confirms_.pop_front();
    return ok;
}

std::optional<QString> ScriptedDialogs::input(QWidget*, const QString& prompt,
                                              const QString& proposed, bool masked) {
    shown.append({Kind::Input, prompt, Icon::None, proposed, masked, true});
    if (inputs_.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    const auto [answered, text] = inputs_.front();
    inputs_.pop_front();
    if (!answered) {
        return std::nullopt;
    }
    return text;
}

void ScriptedDialogs::beep() {
    shown.append({Kind::Beep, {}, Icon::None, {}, false, false});
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& s : shown) {
        out << s.text;
    }
    return out;
}

void ScriptedDialogs::clear() {
    shown.clear();
    confirms_.clear();
    inputs_.clear();
    unscripted = 0;
}
