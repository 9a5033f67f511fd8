#include "ui/users/history_table_model.h"

#include <QFontMetrics>

#include "ui/app/qt_text.h"

namespace kibiki::ui {

namespace {

const char* const kHeaders[CHistoryRows::COL_COUNT] = {"日時", "レッスン名", "速度／分", "正解率(％)",
                                                       "間違えたキー　上位３キー"};
// Proportional letters differ in width; the few longest by bytes hold the widest one.
constexpr std::size_t kMeasuredRows = 24;

}  // namespace

HistoryTableModel::HistoryTableModel(CHistoryRows rows, QObject* pParent)
    : QAbstractTableModel(pParent), m_rows(std::move(rows)) {}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CHistoryRows::COL_COUNT;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (nRole == Qt::DisplayRole)
        return FromCp932(m_rows.Text(static_cast<std::size_t>(index.row()), index.column()));
    if (nRole == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant HistoryTableModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nSection < 0 || nSection >= CHistoryRows::COL_COUNT) return {};
    if (nRole == Qt::DisplayRole) return QString::fromUtf8(kHeaders[nSection]);
    if (nRole == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QString HistoryTableModel::RowText(int nRow) const {
    QStringList cells;
    for (int c = 0; c < CHistoryRows::COL_COUNT; ++c)
        cells << FromCp932(m_rows.Text(static_cast<std::size_t>(nRow), c));
    return cells.join(QLatin1Char('\t'));
}

void HistoryTableModel::Clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int HistoryTableModel::ContentWidth(int nColumn, const QFontMetrics& cellMetrics,
                                    const QFontMetrics& headerMetrics) const {
    int nWidth = headerMetrics.horizontalAdvance(headerData(nColumn, Qt::Horizontal).toString());
    for (std::size_t r : m_rows.LongestRows(nColumn, kMeasuredRows))
        nWidth = std::max(nWidth, cellMetrics.horizontalAdvance(FromCp932(m_rows.Text(r, nColumn))));
    return nWidth;
}

}  // namespace kibiki::ui
