#pragma once

#include <array>

#include <QIcon>

#include "project/translation_progress.h"

class QListWidgetItem;

namespace tradumar {

class FileList;

// The small marks drawn before the scripts' names: a hollow grey ring for a
// script not yet translated, a green disc for one within its budget, a red
// triangle for one over it. Shapes differ as well as colours. Drawn once,
// shared by every entry.
class ProgressMarks {
public:
    ProgressMarks();

    const QIcon& mark(ScriptState state) const { return m_marks[static_cast<std::size_t>(state)]; }

    // Marks every entry of the list with its script's state (the list's
    // texts, the file names, stay as they are) and gives the figures in its
    // tooltip.
    void markAll(FileList* list, const TranslationProgress& progress) const;

    // Marks the entry of one script.
    void markOne(FileList* list, const ScriptProgress& script) const;

private:
    void apply(QListWidgetItem* item, const ScriptProgress& script) const;

    std::array<QIcon, 4> m_marks;
};

} // namespace tradumar
