// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <memory>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace moravelt {

class TownNameIndex;

// A departure or destination box that offers the matching town names as the player types,
// and reports Enter. An Enter that picks a name from the offered list only picks it, and a
// held Enter reports its first press only: its repeats answer the search's questions, and
// the one that comes after the last answer must not start the search again.
class TownNameEntry : public QObject
{
    Q_OBJECT
public:
    TownNameEntry(QLineEdit& box, std::shared_ptr<const TownNameIndex> names);

    QCompleter* completer() const { return m_completer; }

signals:
    void submitted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void offer(const QString& typed);
    void returnPressed();

    QLineEdit& m_box;
    std::shared_ptr<const TownNameIndex> m_names;
    QStringListModel* m_offered;
    QCompleter* m_completer;
    bool m_picking = false;
};

} // namespace moravelt
