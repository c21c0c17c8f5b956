// The spell check of the main window against the real Spanish dictionary:
// the progress window, the suggestions dialog, replacing, the project word
// list and the underlining as the translator types.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTextBlock>

#include "spellcheck/suggestions_dialog.h"
#include "support/shown_text.h"
#include "support/temp_dir.h"
#include "support/widgets.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

class SpellCheck : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<WindowHarness> h;
    std::vector<QString> progressTitles; // the progress window's title at each message
    bool byMenu = false;                 // mnuCorrector instead of cmdOrtog

    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(dir.file("settings")));
        progressTitles.clear();
        h = std::make_unique<WindowHarness>();
        h->workspace.settings.projectFilePath = dir.file("Demo.tpr");
        // A table that writes every character the texts use, so that only
        // the spelling is underlined.
        parseThingyTable(letterTable("E0=𝄞\nE1=♪\nE2=①\nE3=Ł\nE4=ó\nE5=ź\nE6=é\nE7=á\n"),
                         h->workspace.translatedTable, TableOverflow::Drop);
        h->desktop.dialogs.onMessage = [this](const RecordedMessage&) {
            const auto* progress = h->window.findChild<QDialog*>(QStringLiteral("frmSplashRevisor"));
            progressTitles.push_back(progress != nullptr && progress->isVisible() ? progress->windowTitle()
                                                                                  : QString());
        };
    }

    // Runs the check with the text in the pane; act works the suggestions
    // dialog while it is open, then the dialog is closed.
    void check(const QString& text, const std::function<void(SuggestionsDialog&)>& act = {}) {
        h->translationPane()->setPlainText(text);
        const auto start = [&] {
            if (byMenu)
                h->action("mnuCorrector")->trigger();
            else
                QTest::mouseClick(h->find<QPushButton>("cmdOrtog"), Qt::LeftButton);
        };
        withModal<SuggestionsDialog>(start, act);
    }

    static QStringList items(SuggestionsDialog& dialog, const char* list) {
        QStringList out;
        for (const QListWidgetItem* item :
             child<QListWidget>(dialog, list)->findItems(QStringLiteral("*"), Qt::MatchWildcard))
            out << item->text();
        return out;
    }
    static void select(SuggestionsDialog& dialog, const char* list, const QString& text) {
        auto* widget = child<QListWidget>(dialog, list);
        const QList<QListWidgetItem*> found = widget->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        widget->setCurrentItem(found.front());
    }

    // The words the pane shows with a red wave under them.
    QStringList underlined() const {
        QStringList words;
        for (QTextBlock b = h->translationPane()->document()->begin(); b.isValid(); b = b.next())
            for (const QTextLayout::FormatRange& range : b.layout()->formats())
                if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                    words << b.text().mid(range.start, range.length);
        return words;
    }
};

TEST_F(SpellCheck, MessagesOfTheCheckAndTheDialog) {
    const TempDir noDictionary, brokenDictionary;
    writeBytes(brokenDictionary.file("es_ES.aff"), "");
    writeBytes(brokenDictionary.file("es_ES.dic"), "");
    const std::vector none{noDictionary.path().string()}, broken{brokenDictionary.path().string()};
    const auto box = [](const char* text, MessageIcon icon = MessageIcon::Information,
                        const char* title = "Tradumar") {
        return RecordedMessage{QString::fromUtf8(text), QString::fromUtf8(title), MessageButtons::Ok, icon};
    };
    const struct {
        QString text;
        std::vector<std::string> folders;
        RecordedMessage message;
        QString progressTitle;
    } rows[] = {
        {"", {}, info("¡Nada que revisar!"), ""},
        {"Una casa grande <01>.", {}, info("No se encontraron errores."), "Revisando Script..."},
        {"x", none,
         box("No se puede iniciar revisor, ¿está el diccionario de español (hunspell-es) "
             "instalado(requerido)?."),
         "Iniciando Revisor..."},
        {"x", broken, box("Un error ocurrió mientras iniciaba el revisor", MessageIcon::Critical),
         "Iniciando Revisor..."},
    };
    for (const auto& row : rows) {
        SetUp();
        if (!row.folders.empty())
            h->workspace.spelling.speller.setFolders(row.folders);
        byMenu = row.progressTitle == QStringLiteral("Revisando Script...");
        check(row.text);
        EXPECT_EQ(h->desktop.dialogs.messages, std::vector<RecordedMessage>{row.message});
        EXPECT_EQ(progressTitles, std::vector<QString>{row.progressTitle});
        EXPECT_FALSE(h->window.findChild<QDialog*>(QStringLiteral("frmSplashRevisor")));
    }

    SetUp();
    byMenu = false;
    check(QStringLiteral("una cueba"), [&](SuggestionsDialog& dialog) {
        dialog.replaceSelected();
        select(dialog, "List1", QStringLiteral("cueba"));
        child<QListWidget>(dialog, "List2")->clearSelection();
        dialog.replaceSelected();
    });
    EXPECT_EQ(
        h->desktop.dialogs.messages,
        (std::vector{box("Por favor elija una palabra", MessageIcon::Information, "VeduDudEVida"),
                     box("Por favor seleccione una palabra", MessageIcon::Information, "VeduDudEvida")}));
}

TEST_F(SpellCheck, ListsOnceInTextOrderAndReplacesWholeWords) {
    // Characters of several UTF-16 units and UTF-8 bytes stand before the words replaced.
    check(QStringLiteral("La cueba y el perr <perr>.\n𝄞♪ Un perro, cueba, Perr, perr<02>.\nZork."),
          [&](SuggestionsDialog& dialog) {
              expectTexts(dialog, {{"frmRevisor", "Revisión Ortográfica"},
                                   {"Label1", "Posibles errores:"},
                                   {"Label2", "Palabras Sugeridas:"},
                                   {"cmdReemplazar", "Reeplazar"},
                                   {"cmdCancelar", "Salir"}});
              EXPECT_EQ(items(dialog, "List1"), (QStringList{"cueba", "perr", "Perr", "Zork"}));
              EXPECT_TRUE(items(dialog, "List2").isEmpty());
              select(dialog, "List1", QStringLiteral("cueba"));
              EXPECT_TRUE(items(dialog, "List2").contains(QStringLiteral("cueva")));
              select(dialog, "List1", QStringLiteral("perr"));
              select(dialog, "List2", QStringLiteral("perro"));
              dialog.replaceSelected();
              select(dialog, "List1", QStringLiteral("Zork"));
              child<QAction>(dialog, "mnuAnadirPalabra")->trigger();
              select(dialog, "List1", QStringLiteral("Perr"));
              child<QAction>(dialog, "mnuIgnorarPalabra")->trigger();
              EXPECT_EQ(items(dialog, "List1"), (QStringList{"cueba", "perr"}));
          });
    const QString replaced =
        QStringLiteral("La cueba y el perro <perr>.\n𝄞♪ Un perro, cueba, Perr, perro<02>.\nZork.");
    EXPECT_EQ(h->paneText(), replaced);
    EXPECT_TRUE(h->workspace.translationChanged);
    EXPECT_EQ(h->workspace.pendingTranslation, fromQString(replaced));
    EXPECT_EQ(readBytes(dir.file("Demo.palabras.txt")), "Zork\r\n");
    EXPECT_TRUE(h->desktop.dialogs.messages.empty());
    // Replacing every occurrence is one step for "Deshacer".
    h->translationPane()->undo();
    EXPECT_EQ(h->paneText(),
              QStringLiteral("La cueba y el perr <perr>.\n𝄞♪ Un perro, cueba, Perr, perr<02>.\nZork."));

    // The project's word is never flagged again, by the check or the underlining.
    check(QStringLiteral("Zork"));
    EXPECT_EQ(h->desktop.dialogs.texts(), QStringList{QStringLiteral("No se encontraron errores.")});
    EXPECT_EQ(underlined(), QStringList());
}

TEST_F(SpellCheck, UnderliningFollowsTheMenuAndIsRememberedWithoutTouchingTheText) {
    QPlainTextEdit* pane = h->translationPane();
    // The underline sits on the word after characters outside the BMP and of several bytes.
    pane->setPlainText(QStringLiteral("𝄞 Una cueba <kasa>\n♪① y otra kasa, Łódź."));
    EXPECT_EQ(underlined(), (QStringList{"cueba", "kasa", "Łódź"}));

    // Switching it off and on again underlines anew, and is no edit.
    h->workspace.translationChanged = false;
    const int undoSteps = pane->document()->availableUndoSteps();
    QSignalSpy edits(pane, &QPlainTextEdit::textChanged);
    h->action("mnuSubrayar")->trigger();
    EXPECT_EQ(underlined(), QStringList());
    h->action("mnuSubrayar")->trigger();
    EXPECT_EQ(underlined(), (QStringList{"cueba", "kasa", "Łódź"}));
    EXPECT_EQ(edits.count(), 0);
    EXPECT_FALSE(h->workspace.translationChanged);
    EXPECT_EQ(pane->document()->availableUndoSteps(), undoSteps);
    // Underlining while typing adds no change of its own to each key's.
    pane->moveCursor(QTextCursor::End);
    h->type(QStringLiteral(" cueva"));
    EXPECT_EQ(edits.count(), 6);

    h->action("mnuSubrayar")->trigger();
    h = std::make_unique<WindowHarness>();
    EXPECT_FALSE(h->action("mnuSubrayar")->isChecked());
    h->translationPane()->setPlainText(QStringLiteral("Una cueba"));
    EXPECT_EQ(underlined(), QStringList());
    h->action("mnuSubrayar")->trigger();
    EXPECT_EQ(underlined(), QStringList{"cueba"});

    // The underline follows the word list of the project opened last.
    parseThingyTable(letterTable(), h->workspace.translatedTable, TableOverflow::Drop);
    writeBytes(dir.file("Otro.palabras.txt"), "cueba\r\n");
    for (const auto& [project, expected] :
         {std::pair{"Otro.tpr", QStringList()}, {"Demo.tpr", QStringList{"cueba"}}}) {
        h->workspace.settings.projectFilePath = dir.file(project);
        h->translationPane()->setPlainText(QStringLiteral("Una cueba"));
        EXPECT_EQ(underlined(), expected) << project;
    }
}

} // namespace
} // namespace tradumar::testsupport
