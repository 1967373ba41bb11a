// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/recordsetmodel.h"
#include "windows/windowgeometry.h"

#include <QWidget>

class QPlainTextEdit;
class QTableView;

namespace moravelt {

struct PlaceLookupResult;

// The information window: the current town's roads and its quiz or event.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QTableView* DataGrid2() const { return m_dataGrid2; }
    RecordsetModel* DataGrid2Model() const { return m_dataGrid2Model; }
    QPlainTextEdit* Text1() const { return m_text1; }
    // The town the pointer found: its name as the caption, its roads, its quiz or event.
    void showPlace(const PlaceLookupResult& place);
    // The quiz or event text with its CR LF line breaks, as the panels wrote it.
    void setInfoText(const QString& text);
    const QString& infoText() const { return m_infoText; }

    // Closed by the player, the window is unloaded until it is shown again.
    bool isLoaded() const { return m_loaded; }

signals:
    void unloaded(const moravelt::TwipsRect& geometry);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTableView* m_dataGrid2;
    RecordsetModel* m_dataGrid2Model;
    QPlainTextEdit* m_text1;
    QString m_infoText;
    bool m_loaded = true;
};

} // namespace moravelt
