#pragma once

class QCoreApplication;
class QTranslator;

namespace tradumar {

// Qt's own texts (the buttons of a question, the file picker, the context
// menu of a text pane) in Spanish, from the translations installed with Qt.
// Returns the installed translator, owned by `app`, or nullptr when Qt's
// Spanish translations are not installed (the texts then stay in English).
QTranslator* installSpanishQtTexts(QCoreApplication& app);

} // namespace tradumar
