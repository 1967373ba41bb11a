#pragma once

#include <QApplication>

namespace moravelt {

class Prompt;

// The event handler boundary: a failure escaping any handler is shown once in a message box
// and the game goes on, instead of ending the process.
class MoraveltApplication : public QApplication
{
    Q_OBJECT
public:
    MoraveltApplication(int& argc, char** argv);

    void setPrompt(Prompt* prompt) { m_prompt = prompt; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const QString& message);

    Prompt* m_prompt = nullptr;
    bool m_reporting = false;
};

} // namespace moravelt
