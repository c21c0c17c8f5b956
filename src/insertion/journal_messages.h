#pragma once

#include <string>

#include "insertion/insertion_journal.h"

namespace tradumar {

// Why a journalled command failed, in Spanish (UTF-8), as the line that
// follows the failure's code and title; empty when the code says it all.
std::string journalFailureText(const JournalReport& report);

// What the command found unfinished for another file, or settled first;
// empty when nothing.
std::string journalNoticeText(const JournalReport& report);

// "0x1A (1A[8])": where a script was written, and which.
std::string scriptPlaceText(std::int64_t offset, const std::string& fileName);

// What an undo did, as the window and the command line say it (not for
// Failed, whose words are journalFailureText's).
std::string undoOutcomeText(const UndoOutcome& outcome);

} // namespace tradumar
