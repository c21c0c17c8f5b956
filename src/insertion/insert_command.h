#pragma once

#include <string>

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace tradumar {

class Dialogs;
struct Workspace;

// What "Insertar Script" reads from the main window.
struct InsertSource {
    QPlainTextEdit* translationPane = nullptr; // rtxtTraducido
    QString availableBytes;                    // the caption of lblRealesD
    std::string scriptFileName;                // the name selected in Scripts, empty when none
};

// InsertScript: confirms with the user (warning when the translation is over
// budget), encodes the pane's text through the translated table asking about
// every character the table lacks, writes the bytes into the ROM at the
// script's offset and reports the outcome. A No to a missing character
// selects that character in the pane and writes nothing.
void insertScript(QWidget* parent, Dialogs& dialogs, const Workspace& workspace, const InsertSource& source);

} // namespace tradumar
