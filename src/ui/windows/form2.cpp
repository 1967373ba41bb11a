// SPDX-License-Identifier: MIT

#include "windows/form2.h"

#include "lookup/placelookup.h"
#include "windows/designlayout.h"
#include "windows/growinglayout.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableView>

namespace moravelt {

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window), m_dataGrid2(new QTableView(this)),
      m_dataGrid2Model(new RecordsetModel(this)), m_text1(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("モラベルト 情報"));
    resize(DesignLayout::size(5745, 3435));

    // Both controls take the window's extra width; the grid and the text share its extra
    // height as their design heights do, meeting at the same edge.
    auto* layout = new GrowingLayout(this, DesignLayout::size(5745, 3435));
    const double gridShare = 1695.0 / (1695.0 + 1515.0);
    layout->addWidget(m_dataGrid2, DesignLayout::rect(60, 60, 5595, 1695), {0, 0, 1, gridShare});
    layout->addWidget(m_text1, DesignLayout::rect(60, 1860, 5595, 1515), {0, gridShare, 1, 1});

    m_dataGrid2->setObjectName(QStringLiteral("DataGrid2"));
    m_dataGrid2->setFont(DesignLayout::proportionalGothic());
    m_dataGrid2->horizontalHeader()->setFont(DesignLayout::proportionalGothic());
    m_dataGrid2->verticalHeader()->setDefaultSectionSize(18);
    m_dataGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dataGrid2->setModel(m_dataGrid2Model);
    connect(m_dataGrid2Model, &QAbstractItemModel::modelReset, m_dataGrid2,
            &QTableView::resizeColumnsToContents);

    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(DesignLayout::fixedGothic());
    m_text1->setReadOnly(true);

    setTabOrder(m_dataGrid2, m_text1);
}

void Form2::showPlace(const PlaceLookupResult& place)
{
    setWindowTitle(place.town);
    m_dataGrid2Model->setRecordset(place.roads);
    if (place.text)
        setInfoText(*place.text);
}

void Form2::setInfoText(const QString& text)
{
    m_infoText = text;
    QString shown = text;
    m_text1->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void Form2::showEvent(QShowEvent* event)
{
    m_loaded = true;
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent* event)
{
    if (m_loaded) {
        m_loaded = false;
        emit unloaded(WindowGeometry::get(*this));
    }
    event->accept();
}

} // namespace moravelt
