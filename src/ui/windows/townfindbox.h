// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;

namespace moravelt {

class TownNameEntry;
class TownNameIndex;

// "地名検索": a small box that finds a town by its name or its reading, offering the matching
// towns as the departure and destination boxes do. Hidden towns are neither offered nor found.
// Enter, or a town picked from the offered list, reports the town and closes the box; a text
// that names no town says so and leaves the box open.
class TownFindBox : public QDialog
{
    Q_OBJECT
public:
    explicit TownFindBox(QWidget* parent = nullptr);

    void setNames(std::shared_ptr<const TownNameIndex> names);
    QLineEdit* edit() const { return m_edit; }
    TownNameEntry* entry() const { return m_entry; }
    QString message() const;

    // Opens the box, empty and with the keyboard, at the top-left corner of a widget.
    void showOver(const QWidget& over);
    // The town a text stands for: the town of that name, else the first town offered for it
    // (by name or by reading); empty when there is none.
    QString townFor(const QString& text) const;

signals:
    void townChosen(const QString& town);

private:
    void find(const QString& text);

    QLineEdit* m_edit;
    QLabel* m_message;
    TownNameEntry* m_entry = nullptr;
    std::shared_ptr<const TownNameIndex> m_names;
};

} // namespace moravelt
