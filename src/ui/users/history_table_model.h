#pragma once
// The rows of a history file for a list view: five columns, file order, no sorting. Cells are
// turned into text only when the view asks for them, so a long history opens fast.
#include <QAbstractTableModel>

#include "users/history_file.h"

class QFontMetrics;

namespace kibiki::ui {

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit HistoryTableModel(CHistoryRows rows, QObject* pParent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;

    const CHistoryRows& Rows() const { return m_rows; }
    // The row's five texts joined by tabs, as a spreadsheet pastes them.
    QString RowText(int nRow) const;
    void Clear();

    // Pixels the widest text of the column needs, header included: only the rows with the
    // longest texts are measured.
    int ContentWidth(int nColumn, const QFontMetrics& cellMetrics, const QFontMetrics& headerMetrics) const;

private:
    CHistoryRows m_rows;
};

}  // namespace kibiki::ui
