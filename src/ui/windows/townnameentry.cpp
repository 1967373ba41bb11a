// SPDX-License-Identifier: MIT

#include "windows/townnameentry.h"

#include "navi/townnameindex.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QTimer>

namespace moravelt {

TownNameEntry::TownNameEntry(QLineEdit& box, std::shared_ptr<const TownNameIndex> names)
    : QObject(&box), m_box(box), m_names(std::move(names)), m_offered(new QStringListModel(this)),
      m_completer(new QCompleter(m_offered, this))
{
    // The index does the matching (names and readings), so the list shows what it offers.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseSensitive);
    m_completer->setMaxVisibleItems(10);
    m_completer->setWidget(&box);
    m_completer->popup()->installEventFilter(this);
    box.installEventFilter(this);
    connect(&box, &QLineEdit::textEdited, this, &TownNameEntry::offer);
    connect(&box, &QLineEdit::returnPressed, this, &TownNameEntry::returnPressed);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), &box,
            &QLineEdit::setText);
}

void TownNameEntry::offer(const QString& typed)
{
    const QStringList names = m_names->complete(typed);
    m_offered->setStringList(names);
    if (names.isEmpty() || (names.size() == 1 && names.first() == typed))
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

bool TownNameEntry::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_box && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->isAutoRepeat())
            return true;
    }
    // The list passes its Enter on to the box after picking; that Enter is not a submit.
    if (watched == m_completer->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            m_completer->popup()->currentIndex().isValid()) {
            m_picking = true;
            QTimer::singleShot(0, this, [this] { m_picking = false; });
        }
    }
    return QObject::eventFilter(watched, event);
}

void TownNameEntry::returnPressed()
{
    if (m_picking) {
        m_picking = false;
        return;
    }
    emit submitted();
}

} // namespace moravelt
