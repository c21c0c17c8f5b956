#include "workspace/glossary_panel.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTreeWidget>

#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/script_files.h"
#include "project/workspace.h"
#include "workspace/status_refresh.h"

namespace tradumar {
namespace {

// A selection as plain text: Qt gives its line breaks as U+2029.
std::string selectedText(const QPlainTextEdit* pane) {
    QString text = pane->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

GlossaryPanel::GlossaryPanel(QWidget* window, const Workspace& workspace, Dialogs& dialogs,
                             QPlainTextEdit* original, QPlainTextEdit* translation)
    : QDockWidget(QStringLiteral("Glosario"), window), m_workspace(workspace), m_dialogs(dialogs),
      m_original(original), m_translation(translation), m_list(new QTreeWidget(this)),
      m_add(new QAction(QStringLiteral("Añadir al glosario"), window)) {
    setObjectName(QStringLiteral("fraGlosario"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_list->setObjectName(QStringLiteral("lstGlosario"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Término"), QStringLiteral("Traducción")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_list->setMinimumWidth(190);
    setWidget(m_list);

    m_add->setObjectName(QStringLiteral("mnuAñadirGlosario"));
    connect(m_add, &QAction::triggered, this, &GlossaryPanel::addSelectedPair);
    connect(original->document(), &QTextDocument::contentsChanged, this,
            [this] { m_originalChanged = true; });
    connect(translation->document(), &QTextDocument::contentsChange, this,
            &GlossaryPanel::translationChanged);
    for (QPlainTextEdit* pane : {original, translation}) {
        pane->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(pane, &QWidget::customContextMenuRequested, this,
                [this, pane](const QPoint& at) { showContextMenu(pane, at); });
    }
}

void GlossaryPanel::showContextMenu(QPlainTextEdit* pane, const QPoint& at) {
    QMenu* menu = pane->createStandardContextMenu(at);
    menu->addSeparator();
    menu->addAction(m_add);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(pane->viewport()->mapToGlobal(at));
}

void GlossaryPanel::tick() {
    const ProjectSettings& settings = m_workspace.settings;
    if (settings.projectFilePath != m_project) {
        m_project = settings.projectFilePath;
        m_glossary.load(m_project);
        m_originalChanged = true;
    }
    const TermEnclosures enclosures{settings.leftCharacter(), settings.rightCharacter()};
    const bool found = m_originalChanged;
    if (m_originalChanged) {
        m_originalChanged = false;
        m_hits = m_glossary.pairs().empty()
                     ? std::vector<GlossaryHit>()
                     : findGlossaryTerms(m_glossary.pairs(), paneText(m_original), enclosures);
        m_rescan = true;
    }
    if (m_rescan)
        rescanTranslation();
    bool changed = found || m_list->topLevelItemCount() != static_cast<int>(m_hits.size());
    for (std::size_t i = 0; i < m_hits.size(); ++i) {
        const bool missing = m_lineCounts[i] == 0;
        changed = changed || m_hits[i].missing != missing;
        m_hits[i].missing = missing;
    }
    if (changed)
        fillList();
}

std::vector<bool> GlossaryPanel::termsIn(const QString& line) const {
    const ProjectSettings& settings = m_workspace.settings;
    std::vector<GlossaryHit> hits = m_hits;
    flagMissingTranslations(hits, m_glossary.pairs(), fromQString(line),
                            {settings.leftCharacter(), settings.rightCharacter()});
    std::vector<bool> held(hits.size());
    for (std::size_t i = 0; i < hits.size(); ++i)
        held[i] = !hits[i].missing;
    return held;
}

void GlossaryPanel::rescanTranslation() {
    m_rescan = false;
    m_lines.clear();
    m_lineCounts.assign(m_hits.size(), 0);
    if (m_hits.empty())
        return;
    for (QTextBlock block = m_translation->document()->firstBlock(); block.isValid(); block = block.next()) {
        m_lines.push_back(termsIn(block.text()));
        for (std::size_t i = 0; i < m_hits.size(); ++i)
            m_lineCounts[i] += m_lines.back()[i];
    }
}

void GlossaryPanel::translationChanged(int position, int /*removed*/, int added) {
    if (m_rescan || m_hits.empty())
        return;
    // The lines the change left, from the one it starts in to the one it
    // ends in, stand where the lines it took away stood.
    const QTextDocument* document = m_translation->document();
    const int end = std::min(position + added, document->characterCount() - 1);
    const int first = document->findBlock(position).blockNumber();
    const int last = document->findBlock(end).blockNumber();
    const int before = static_cast<int>(m_lines.size());
    const int replaced = (last - first + 1) - (document->blockCount() - before);
    if (first < 0 || last < first || replaced < 1 || first + replaced > before) {
        m_rescan = true;
        return;
    }
    const auto from = m_lines.begin() + first;
    for (auto line = from; line != from + replaced; ++line)
        for (std::size_t i = 0; i < m_hits.size(); ++i)
            m_lineCounts[i] -= (*line)[i];
    m_lines.erase(from, from + replaced);
    std::vector<std::vector<bool>> lines;
    for (QTextBlock block = document->findBlockByNumber(first);; block = block.next()) {
        lines.push_back(termsIn(block.text()));
        for (std::size_t i = 0; i < m_hits.size(); ++i)
            m_lineCounts[i] += lines.back()[i];
        if (block.blockNumber() == last)
            break;
    }
    m_lines.insert(m_lines.begin() + first, lines.begin(), lines.end());
}

void GlossaryPanel::fillList() {
    const auto& pairs = m_glossary.pairs();
    if (m_list->topLevelItemCount() != static_cast<int>(m_hits.size())) {
        m_list->clear();
        for (const GlossaryHit& hit : m_hits)
            new QTreeWidgetItem(
                m_list, {toQString(pairs[hit.pair].original), toQString(pairs[hit.pair].translation)});
    }
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const GlossaryHit& hit = m_hits[static_cast<std::size_t>(i)];
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        item->setText(0, toQString(pairs[hit.pair].original));
        item->setText(1, toQString(pairs[hit.pair].translation));
        const QString tip =
            hit.missing ? QStringLiteral("La traducción no contiene «%1».").arg(item->text(1)) : QString();
        for (int column : {0, 1}) {
            item->setForeground(column, hit.missing ? QBrush(Qt::red) : QBrush());
            item->setToolTip(column, tip);
        }
    }
}

void GlossaryPanel::addSelectedPair() {
    const std::string original = selectedText(m_original);
    const std::string translation = selectedText(m_translation);
    if (original.empty() || translation.empty()) {
        m_dialogs.inform(this, QStringLiteral("Seleccione el término en el texto original y su traducción en "
                                              "el texto traducido."));
        return;
    }
    if (const int error = m_glossary.add(original, translation); error != 0) {
        m_dialogs.inform(this, QStringLiteral("No se pudo añadir el término al glosario ") +
                                   pathToQString(m_glossary.path()) + QStringLiteral(": ") +
                                   toQString(describeError(error)));
        return;
    }
    m_originalChanged = true;
    tick();
}

} // namespace tradumar
