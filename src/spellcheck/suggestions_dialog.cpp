#include "spellcheck/suggestions_dialog.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "platform/twips.h"
#include "project/script_files.h"
#include "spellcheck/speller.h"

namespace tradumar {
namespace {

QLabel* boldLabel(QWidget* parent, const QString& text, const char* name, const QRect& geometry) {
    auto* label = place(new QLabel(text, parent), name, geometry);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SuggestionsDialog::SuggestionsDialog(QWidget* owner, Speller& speller, Dialogs& dialogs, Replace replace,
                                     AddWord addWord)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_speller(speller), m_dialogs(dialogs), m_replace(std::move(replace)), m_addWord(std::move(addWord)) {
    setObjectName(QStringLiteral("frmRevisor"));
    setWindowTitle(QStringLiteral("Revisión Ortográfica"));
    setFixedSize(424, 337);

    // Created in tab order.
    m_list1 = place(new QListWidget(this), "List1", twips(120, 360, 3015, 4155));
    m_list2 = place(new QListWidget(this), "List2", twips(3240, 360, 3015, 4155));
    boldLabel(this, QStringLiteral("Posibles errores:"), "Label1", twips(120, 120, 2535, 255));
    boldLabel(this, QStringLiteral("Palabras Sugeridas:"), "Label2", twips(3240, 120, 2175, 255));
    m_cmdReemplazar = place(new QPushButton(QStringLiteral("Reeplazar"), this), "cmdReemplazar",
                            twips(120, 4560, 3015, 375));
    m_cmdCancelar =
        place(new QPushButton(QStringLiteral("Salir"), this), "cmdCancelar", twips(3240, 4560, 3015, 375));
    for (QPushButton* button : {m_cmdReemplazar, m_cmdCancelar}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QListWidget* list : {m_list1, m_list2})
        list->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(m_list1, &QListWidget::itemSelectionChanged, this, &SuggestionsDialog::showSuggestions);
    connect(m_cmdReemplazar, &QPushButton::clicked, this, &SuggestionsDialog::replaceSelected);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::close);

    // Names of the game's characters and places are in no dictionary: the
    // translator keeps them in the project's word list, or passes over a
    // word for this check only.
    m_addAction = new QAction(QStringLiteral("Añadir al diccionario del proyecto"), this);
    m_addAction->setObjectName(QStringLiteral("mnuAnadirPalabra"));
    m_addAction->setEnabled(static_cast<bool>(m_addWord));
    m_ignoreAction = new QAction(QStringLiteral("Ignorar"), this);
    m_ignoreAction->setObjectName(QStringLiteral("mnuIgnorarPalabra"));
    connect(m_addAction, &QAction::triggered, this, &SuggestionsDialog::addSelectedToProject);
    connect(m_ignoreAction, &QAction::triggered, this, &SuggestionsDialog::ignoreSelected);
    m_list1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QListWidgetItem* item = m_list1->itemAt(at);
        if (item == nullptr)
            return;
        item->setSelected(true);
        QMenu menu(this);
        menu.addAction(m_addAction);
        menu.addAction(m_ignoreAction);
        menu.exec(m_list1->viewport()->mapToGlobal(at));
    });
}

void SuggestionsDialog::setWords(const std::vector<std::string>& words) {
    m_list1->clear();
    m_list2->clear();
    for (const std::string& word : words)
        m_list1->addItem(toQString(word));
}

std::string SuggestionsDialog::selectedWord() const {
    const QList<QListWidgetItem*> selected = m_list1->selectedItems();
    return selected.isEmpty() ? std::string() : fromQString(selected.front()->text());
}

void SuggestionsDialog::showSuggestions() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string word = selectedWord();
    const std::vector<std::string> suggestions =
        word.empty() ? std::vector<std::string>() : m_speller.suggest(word);
    m_list2->clear();
    for (const std::string& suggestion : suggestions)
        m_list2->addItem(toQString(suggestion));
    QApplication::restoreOverrideCursor();
}

void SuggestionsDialog::replaceSelected() {
    if (m_list1->selectedItems().isEmpty()) {
        m_dialogs.message(this, QStringLiteral("Por favor elija una palabra"), QStringLiteral("VeduDudEVida"),
                          MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    const QList<QListWidgetItem*> suggestion = m_list2->selectedItems();
    if (suggestion.isEmpty()) {
        m_dialogs.message(this, QStringLiteral("Por favor seleccione una palabra"),
                          QStringLiteral("VeduDudEvida"), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    m_replace(selectedWord(), fromQString(suggestion.front()->text()));
}

void SuggestionsDialog::removeSelectedWord() {
    const QList<QListWidgetItem*> selected = m_list1->selectedItems();
    if (selected.isEmpty())
        return;
    {
        // The entry that takes its place is not chosen by the translator.
        const QSignalBlocker blocker(m_list1);
        delete m_list1->takeItem(m_list1->row(selected.front()));
        m_list1->clearSelection();
        m_list1->setCurrentRow(-1);
    }
    m_list2->clear();
}

void SuggestionsDialog::addSelectedToProject() {
    const std::string word = selectedWord();
    if (word.empty() || !m_addWord)
        return;
    if (const int error = m_addWord(word); error != 0) {
        m_dialogs.inform(this, QString::number(error) + QStringLiteral(": ") +
                                   QString::fromLocal8Bit(describeError(error)));
        return;
    }
    removeSelectedWord();
}

void SuggestionsDialog::ignoreSelected() {
    removeSelectedWord();
}

void SuggestionsDialog::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tradumar
