// SPDX-License-Identifier: MIT

#include "windows/townfindbox.h"

#include "navi/townnameindex.h"
#include "windows/townnameentry.h"

#include <QCompleter>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace moravelt {

TownFindBox::TownFindBox(QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit), m_message(new QLabel)
{
    setWindowTitle(QStringLiteral("地名検索"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("地名")), 0, 0);
    layout->addWidget(m_edit, 0, 1);
    layout->addWidget(m_message, 1, 0, 1, 2);
    m_edit->setMinimumWidth(180);
    m_edit->setPlaceholderText(QStringLiteral("町の名前か読み"));
    m_message->hide();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TownFindBox::setNames(std::shared_ptr<const TownNameIndex> names)
{
    delete m_entry;
    m_entry = nullptr;
    m_names = std::move(names);
    if (!m_names)
        return;
    m_entry = new TownNameEntry(*m_edit, m_names);
    connect(m_entry, &TownNameEntry::submitted, this, [this] { find(m_edit->text()); });
    // A town picked from the list is found at once.
    connect(m_entry->completer(), qOverload<const QString&>(&QCompleter::activated), this,
            &TownFindBox::find);
}

QString TownFindBox::message() const
{
    return m_message->isVisible() ? m_message->text() : QString();
}

void TownFindBox::showOver(const QWidget& over)
{
    m_edit->clear();
    m_message->hide();
    move(over.mapToGlobal(QPoint(8, 8)));
    show();
    raise();
    activateWindow();
    m_edit->setFocus();
}

QString TownFindBox::townFor(const QString& text) const
{
    const QString typed = text.trimmed();
    if (!m_names || typed.isEmpty())
        return {};
    if (m_names->contains(typed))
        return typed;
    const QStringList offered = m_names->complete(typed, 1);
    return offered.isEmpty() ? QString() : offered.first();
}

void TownFindBox::find(const QString& text)
{
    if (text.trimmed().isEmpty())
        return;
    const QString town = townFor(text);
    if (town.isEmpty()) {
        m_message->setText(QStringLiteral("「%1」という町は見つかりません").arg(text.trimmed()));
        m_message->show();
        return;
    }
    m_edit->setText(town);
    hide();
    emit townChosen(town);
}

} // namespace moravelt
