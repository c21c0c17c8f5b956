#include "workspace/progress_window.h"

#include <limits>
#include <map>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/qt_text.h"

namespace tradumar {
namespace {

enum Column { FileName, TranslatedBytes, Budget, Difference, State, Columns };

// A cell that sorts by a number of its own rather than by its text, so 9
// comes before 10 and empty cells come first.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, qlonglong key) : QTableWidgetItem(text) {
        setData(Qt::UserRole, key);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toLongLong() < other.data(Qt::UserRole).toLongLong();
    }
};

QTableWidgetItem* numberCell(const std::optional<std::int64_t>& value) {
    return value ? new NumberItem(QString::number(*value), *value)
                 : new NumberItem(QString(), std::numeric_limits<qlonglong>::min());
}

} // namespace

ProgressWindow::ProgressWindow(std::vector<ScriptProgress> scripts, const ProgressSummary& summary,
                               Clipboard& clipboard, std::function<void(const QString&)> open,
                               QWidget* parent)
    : QDialog(parent), m_scripts(std::move(scripts)), m_clipboard(clipboard), m_open(std::move(open)) {
    setObjectName(QStringLiteral("frmProgreso"));
    setWindowTitle(QStringLiteral("Progreso de la traducción"));

    auto* heading = m_heading = new QLabel(toQString(summaryText(summary)), this);
    heading->setObjectName(QStringLiteral("lblResumen"));

    m_table = new QTableWidget(static_cast<int>(m_scripts.size()), Columns, this);
    m_table->setObjectName(QStringLiteral("tblProgreso"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Script"), QStringLiteral("Bytes traducidos"),
                                        QStringLiteral("Presupuesto"), QStringLiteral("Diferencia"),
                                        QStringLiteral("Estado")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    for (int row = 0; row < static_cast<int>(m_scripts.size()); ++row) {
        const ScriptProgress& script = m_scripts[static_cast<std::size_t>(row)];
        const bool translated = script.state != ScriptState::NotTranslated;
        auto* name = new QTableWidgetItem(pathToQString(script.fileName));
        name->setData(Qt::UserRole, row); // its place among m_scripts, whatever the sorting
        m_table->setItem(row, FileName, name);
        m_table->setItem(row, TranslatedBytes,
                         numberCell(translated ? std::optional(script.translatedBytes) : std::nullopt));
        m_table->setItem(row, Budget, numberCell(script.budget));
        m_table->setItem(row, Difference, numberCell(script.difference()));
        auto* state = new NumberItem(toQString(stateText(script.state)), static_cast<int>(script.state));
        state->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (!script.problem.empty())
            state->setToolTip(toQString(script.problem));
        m_table->setItem(row, State, state);
    }
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(FileName, Qt::AscendingOrder);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Wide enough for every column, with room for the scroll bar.
    m_table->setMinimumWidth(m_table->horizontalHeader()->length() +
                             m_table->verticalScrollBar()->sizeHint().width() + 2 * m_table->frameWidth());
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const QString name = m_table->item(row, FileName)->text();
        accept();
        m_open(name);
    });

    auto* copy = new QPushButton(QStringLiteral("Copiar tabla"), this);
    copy->setObjectName(QStringLiteral("cmdCopiar"));
    connect(copy, &QPushButton::clicked, this, &ProgressWindow::copyTable);
    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setObjectName(QStringLiteral("cmdCerrar"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(sizeHint().width(), 420);
}

void ProgressWindow::showRomStates(const RomCheck& check) {
    m_heading->setText(m_heading->text() + QLatin1Char('\n') +
                       toQString(check.failure.empty() ? romCheckSummary(check.checks) : check.failure));
    std::map<std::string, TranslationCheck::State> states;
    for (const TranslationCheck& c : check.checks)
        states[c.script] = c.state;
    const bool sorting = m_table->isSortingEnabled();
    m_table->setSortingEnabled(false);
    m_table->setColumnCount(Columns + 1);
    m_table->setHorizontalHeaderItem(Columns, new QTableWidgetItem(QStringLiteral("En la ROM")));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto found = states.find(pathFromQString(m_table->item(row, FileName)->text()));
        auto* cell = found == states.end() ? new NumberItem(QString(), -1)
                                           : new NumberItem(toQString(translationStateText(found->second)),
                                                            static_cast<int>(found->second));
        cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_table->setItem(row, Columns, cell);
    }
    m_table->setSortingEnabled(sorting);
    m_table->resizeColumnsToContents();
    m_table->setMinimumWidth(m_table->horizontalHeader()->length() +
                             m_table->verticalScrollBar()->sizeHint().width() + 2 * m_table->frameWidth());
    resize(sizeHint().width(), height());
}

void ProgressWindow::copyTable() {
    // The rows in the order the table shows them now.
    std::vector<ScriptProgress> shown;
    shown.reserve(m_scripts.size());
    for (int row = 0; row < m_table->rowCount(); ++row)
        shown.push_back(m_scripts[m_table->item(row, FileName)->data(Qt::UserRole).toULongLong()]);
    // The desktop's clipboard takes lines ended by "\n".
    QString text = toQString(progressTableText(shown));
    text.replace(QChar(0x2029), QLatin1Char('\n'));
    m_clipboard.setText(text);
}

} // namespace tradumar
