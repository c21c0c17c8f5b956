#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>

class QAction;
class QListWidget;
class QPushButton;

namespace tradumar {

class Dialogs;
class Speller;

// frmRevisor: the misspelled words of a check, the dictionary's suggestions
// for the selected one, and the replacement of that word in the translation.
class SuggestionsDialog : public QDialog {
    Q_OBJECT
public:
    // Replaces a word by a suggestion in the translation.
    using Replace = std::function<void(const std::string& word, const std::string& suggestion)>;
    // Puts a word into the project's word list; 0, or the errno of the write.
    using AddWord = std::function<int(const std::string& word)>;

    // Without addWord (no project open) the word list entry is unusable.
    SuggestionsDialog(QWidget* owner, Speller& speller, Dialogs& dialogs, Replace replace, AddWord addWord);

    void setWords(const std::vector<std::string>& words);

    void replaceSelected(); // cmdReemplazar
    void addSelectedToProject();
    void ignoreSelected();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showSuggestions();
    void removeSelectedWord();
    std::string selectedWord() const;

    Speller& m_speller;
    Dialogs& m_dialogs;
    Replace m_replace;
    AddWord m_addWord;

    QListWidget* m_list1 = nullptr;
    QListWidget* m_list2 = nullptr;
    QPushButton* m_cmdReemplazar = nullptr;
    QPushButton* m_cmdCancelar = nullptr;
    QAction* m_addAction = nullptr;
    QAction* m_ignoreAction = nullptr;
};

} // namespace tradumar
