#pragma once

// Entry points shared by the libFuzzer executables and the regular tests,
// which replay the seed corpus under fuzz/corpus/<name>/ through them. Each
// checks its own invariants and aborts on a violation.

#include <cstddef>
#include <cstdint>

int fuzzIniProfile(const std::uint8_t* data, std::size_t size);
int fuzzThingyTable(const std::uint8_t* data, std::size_t size);
int fuzzScriptCodec(const std::uint8_t* data, std::size_t size);
int fuzzNumbers(const std::uint8_t* data, std::size_t size);
int fuzzTextFile(const std::uint8_t* data, std::size_t size);
int fuzzInsertionJournal(const std::uint8_t* data, std::size_t size);
int fuzzWordList(const std::uint8_t* data, std::size_t size);
int fuzzBpsPatch(const std::uint8_t* data, std::size_t size);
int fuzzIpsPatch(const std::uint8_t* data, std::size_t size);
int fuzzWidthTable(const std::uint8_t* data, std::size_t size);
int fuzzGlossary(const std::uint8_t* data, std::size_t size);
int fuzzPointerFile(const std::uint8_t* data, std::size_t size);
int fuzzPointerCodec(const std::uint8_t* data, std::size_t size);
int fuzzExtractionInput(const std::uint8_t* data, std::size_t size);
