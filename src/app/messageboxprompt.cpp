#include "app/messageboxprompt.h"

#include <QMessageBox>

namespace moravelt {

namespace {

const QString kTitle = QStringLiteral("モラベルト");

} // namespace

bool MessageBoxPrompt::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompt::inform(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxPrompt::reportError(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Ok);
    box.exec();
}

} // namespace moravelt
