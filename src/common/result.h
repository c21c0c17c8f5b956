#pragma once

namespace tradumar {

// Failure codes reported to the user in front of a failure message; each
// number names one kind of failure, as the table below says.
namespace FailureCode {
constexpr int None = 0;
constexpr int InvalidCall = 5;       // malformed input: no "[" in a name, empty raw block
constexpr int Overflow = 6;          // a number or position past its limit
constexpr int BadFileName = 52;      // the path cannot name a file at all
constexpr int PermissionDenied = 70; // no permission, read-only, locked
constexpr int PathFileAccess = 75;   // the path names a folder, or the write failed
constexpr int PathNotFound = 76;     // a folder on the path does not exist
} // namespace FailureCode

// A value or a failure code. Small on purpose: the core never shows UI, the
// commands turn `error` into the user's message.
template <typename T> struct Result {
    T value{};
    int error = FailureCode::None;

    bool ok() const { return error == FailureCode::None; }
    static Result failure(int code) { return Result{T{}, code}; }
};

} // namespace tradumar
