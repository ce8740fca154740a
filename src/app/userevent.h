#pragma once

#include <QEvent>

// The one custom event of the program: code 2177 tells the main window to start the UI.
class UserEvent : public QEvent
{
public:
    static constexpr int StartUi = 2177;

    explicit UserEvent(int code)
        : QEvent(QEvent::User), m_code(code) {}
    int code() const { return m_code; }

private:
    qint32 m_code;
};
