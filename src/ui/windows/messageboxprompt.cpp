// SPDX-License-Identifier: MIT

#include "windows/messageboxprompt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace moravelt {

namespace {

const QString kTitle = QStringLiteral("モラベルト");

} // namespace

bool MessageBoxPrompt::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Yes | QMessageBox::No);
    // Qt's own button captions are English without its translations installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setDefaultButton(QMessageBox::Yes);
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
