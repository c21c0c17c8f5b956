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

} // namespace tradumar
