#include "search/search_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "common/file_io.h"
#include "encoding/unicode_text.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "project/project_settings.h"
#include "project/script_files.h"
#include "search/script_search.h"
#include "workspace/file_list.h"

namespace tradumar {
namespace {

const QString kTraducido = QStringLiteral("Traducido");
const QString kOriginal = QStringLiteral("Original");
const QString kFinished = QStringLiteral("La búsqueda ha finalizado");

// The word last written in the window, offered again the next time it opens
// while the program runs.
QString& lastWord() {
    static QString word;
    return word;
}

// A slice of the search reads files for about this long before the window
// handles its input again; a click waits at most one slice and one file.
constexpr int kSliceMilliseconds = 15;

std::vector<std::string> namesOf(const FileList* list) {
    std::vector<std::string> names;
    for (const QString& name : list->fileNames())
        names.push_back(pathFromQString(name));
    return names;
}

} // namespace

SearchWindow::SearchWindow(const ProjectSettings& settings, Dialogs& dialogs, SearchSources sources,
                           QWidget* owner)
    : QDialog(owner), m_settings(settings), m_dialogs(dialogs), m_sources(sources) {
    setObjectName(QStringLiteral("frmBuscar"));
    setWindowTitle(QStringLiteral("Buscar texto en Scripts (Búsqueda exacta)"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    setModal(true);
    // 8985 x 4305 twips inside, at 15 twips to the pixel.
    setFixedSize(599, 287);
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    setFont(font);

    m_sliceTimer = new QTimer(this);
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, &SearchWindow::runSlice);

    buildControls();
    resetResultGrid();
    m_cmbData->addItem(kTraducido);
    m_cmbData->addItem(kOriginal);
    m_cmbData->setCurrentIndex(0);
    m_txtBuscar->setText(lastWord());
    m_txtBuscar->selectAll();
    connect(m_txtBuscar, &QLineEdit::textEdited, this, [](const QString& word) { lastWord() = word; });
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::buildControls() {
    const auto place = [this](QWidget* widget, const char* name, int x, int y, int w, int h) {
        widget->setObjectName(QString::fromUtf8(name));
        widget->setGeometry(x, y, w, h);
    };
    place(new QLabel(QStringLiteral("Texto a buscar:"), this), "Label1", 8, 10, 260, 16);
    m_txtBuscar = new QLineEdit(this);
    place(m_txtBuscar, "txtBuscar", 8, 28, 260, 21);
    place(new QLabel(QStringLiteral("Buscar en:"), this), "Label2", 280, 10, 110, 16);
    m_cmbData = new QComboBox(this);
    place(m_cmbData, "cmbData", 280, 28, 110, 21);

    const auto button = [this, &place](const char* name, const QString& caption, int x, int w) {
        auto* b = new QPushButton(caption, this);
        // Enter in the word field searches; no button takes it as default.
        b->setAutoDefault(false);
        place(b, name, x, 26, w, 25);
        return b;
    };
    m_cmdBuscar = button("cmdBuscar", QStringLiteral("Buscar"), 404, 60);
    m_cmdCancelar = button("cmdCancelar", QStringLiteral("Cancelar"), 468, 62);
    m_cmdSalir = button("cmdSalir", QStringLiteral("Salir"), 534, 57);

    m_lblMsg = new QLabel(this);
    place(m_lblMsg, "lblMsg", 8, 56, 583, 16);

    m_data = new QTableWidget(this);
    place(m_data, "data", 8, 76, 583, 203);
    m_data->verticalHeader()->hide();
    m_data->verticalHeader()->setDefaultSectionSize(m_data->fontMetrics().height() + 4);
    m_data->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_data->horizontalHeader()->setHighlightSections(false);
    m_data->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_data->setSelectionMode(QAbstractItemView::SingleSelection);
    m_data->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_data->setWordWrap(false);

    connect(m_cmdBuscar, &QPushButton::clicked, this, &SearchWindow::search);
    connect(m_txtBuscar, &QLineEdit::returnPressed, this, &SearchWindow::search);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &SearchWindow::cancel);
    connect(m_cmdSalir, &QPushButton::clicked, this, &SearchWindow::leave);
    connect(m_data, &QTableWidget::cellDoubleClicked, this, &SearchWindow::openHit);
}

// The header and 23 empty rows; each column as wide as its part of the
// format "Archivo      | Texto" and 200 blanks.
void SearchWindow::resetResultGrid() {
    m_data->clear();
    m_data->setColumnCount(2);
    m_data->setRowCount(23);
    m_data->setHorizontalHeaderLabels({QStringLiteral("Archivo"), QStringLiteral("Texto")});
    const QFontMetrics metrics = m_data->horizontalHeader()->fontMetrics();
    const int padding = 2 * m_data->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_data) + 4;
    m_data->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("Archivo      ")) + padding);
    m_data->setColumnWidth(
        1, metrics.horizontalAdvance(QStringLiteral(" Texto") + QString(200, QLatin1Char(' '))) + padding);
}

void SearchWindow::setSearching(bool searching) {
    for (QWidget* w : {static_cast<QWidget*>(m_cmdBuscar), static_cast<QWidget*>(m_txtBuscar),
                       static_cast<QWidget*>(m_data)})
        w->setEnabled(!searching);
}

void SearchWindow::search() {
    if (isSearching())
        return;
    // The word as typed, in NFC; its length counts characters.
    std::string word = fromQString(m_txtBuscar->text());
    if (characterCount(word) < 2) {
        m_dialogs.inform(this, QStringLiteral("Debe escribir una palabra."));
        return;
    }
    m_lblMsg->setText(QStringLiteral("Buscando..."));
    resetResultGrid();
    setSearching(true);

    std::string folder;
    const FileList* list = nullptr;
    if (m_cmbData->currentText() == kOriginal) {
        folder = m_settings.scriptsFolder;
        list = m_sources.ori;
    } else if (m_cmbData->currentText() == kTraducido) {
        folder = translationFolderOf(m_settings.scriptsFolder);
        if (pathExists(folder)) {
            // Translations saved since the project was opened are searched too.
            m_sources.trans->setFolder(pathToQString(folder));
            list = m_sources.trans;
        }
    }
    std::vector<std::string> names = list ? namesOf(list) : std::vector<std::string>{};
    m_search = std::make_unique<ScriptSearch>(std::move(folder), std::move(names), std::move(word),
                                              m_settings.legacyCodePage);
    m_sliceTimer->start();
}

void SearchWindow::runSlice() {
    if (!m_search)
        return;
    QElapsedTimer clock;
    clock.start();
    while (!m_search->atEnd()) {
        if (const std::optional<SearchHit> hit = m_search->testNext()) {
            // Each hit goes directly under the header: the last file's comes first.
            m_data->insertRow(0);
            const auto cell = [](const QString& text) {
                auto* item = new QTableWidgetItem(text);
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
                return item;
            };
            m_data->setItem(0, 0, cell(pathToQString(hit->fileName)));
            QTableWidgetItem* text = cell(toQString(hit->text));
            // The row shows the first line; the whole text shows on hovering.
            text->setToolTip(text->text());
            m_data->setItem(0, 1, text);
        }
        // A click handled while a row was inserted may have stopped the search.
        if (!m_search)
            return;
        if (clock.elapsed() >= kSliceMilliseconds) {
            m_sliceTimer->start();
            return;
        }
    }
    endSearch();
}

void SearchWindow::endSearch() {
    m_sliceTimer->stop();
    m_search.reset();
    m_lblMsg->setText(kFinished);
    setSearching(false);
    emit searchEnded();
}

void SearchWindow::stopSearch() {
    if (isSearching())
        endSearch();
}

void SearchWindow::cancel() {
    stopSearch();
    m_cmdBuscar->setText(QStringLiteral("Buscar"));
    setSearching(false);
}

void SearchWindow::leave() {
    cancel();
    reject();
}

void SearchWindow::done(int result) {
    stopSearch();
    QDialog::done(result);
}

void SearchWindow::openHit(int row, int column) {
    const QTableWidgetItem* item = m_data->item(row, column);
    const QString text = item ? item->text() : QString();
    const QStringList names = m_sources.ori->fileNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (QString::compare(names[i], text, Qt::CaseInsensitive) != 0)
            continue;
        stopSearch();
        FileList* scripts = m_sources.scripts;
        // Choosing the entry that is already selected still counts as choosing it.
        if (scripts->selectedIndex() == i)
            emit scripts->chosen();
        else
            scripts->selectIndex(static_cast<int>(i));
        return;
    }
    m_dialogs.inform(this, QStringLiteral("Debes elegir un elemento de la lista"));
}

// Each time the window is shown or becomes active it needs an opened script.
void SearchWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_closing = false;
    QMetaObject::invokeMethod(this, &SearchWindow::closeWithoutProject, Qt::QueuedConnection);
}

void SearchWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        closeWithoutProject();
}

void SearchWindow::closeWithoutProject() {
    if (m_closing || !isVisible() || !m_sources.original->document()->isEmpty())
        return;
    m_closing = true;
    m_dialogs.inform(this, QStringLiteral("Cargue por favor un proyecto."));
    reject();
}

} // namespace tradumar
