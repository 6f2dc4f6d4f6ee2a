#pragma once

#include <QString>
#include <optional>

class QWidget;

// Every message box, confirmation, input box and beep of the program goes
// through this interface. The program uses Qt's boxes, all titled with the
// application title; the screen tests script the answers instead, so that no
// test ever waits on a modal box.
class Dialogs {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };

    virtual ~Dialogs() = default;

    // A box with an OK button.
    virtual void message(QWidget* parent, const QString& text, Icon icon) = 0;

    // A box with OK and Cancel; true when the user chose OK. okIsDefault
    // picks the button that Enter presses.
    virtual bool confirm(QWidget* parent, const QString& text, Icon icon, bool okIsDefault) = 0;

    // An input box with a prompt and a proposed answer; no value when
    // cancelled. A masked box shows the typed characters as dots.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& proposed, bool masked) = 0;

    virtual void beep() = 0;

    // The usual forms.
    void warning(QWidget* parent, const QString& text) { message(parent, text, Icon::Exclamation); }
    void plain(QWidget* parent, const QString& text) { message(parent, text, Icon::None); }
};

// The title of every window and box of the program.
QString applicationTitle();

// The real boxes.
class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, Icon icon) override;
    bool confirm(QWidget* parent, const QString& text, Icon icon, bool okIsDefault) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& proposed,
                                 bool masked) override;
    void beep() override;
};
