// Text helpers. Inside the program every text is UTF-8 in a std::string;
// files whose format is UTF-16 are converted here, at the boundary.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dpx {

// UTF-8 <-> UTF-16. Invalid input is replaced by U+FFFD, never dropped.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-16LE bytes (no byte-order mark) of a UTF-8 text, and back.
std::string Utf8ToUtf16LEBytes(std::string_view utf8);
std::string Utf16LEBytesToUtf8(std::string_view bytes);

// Reads a whole file as UTF-8 text. A UTF-16LE or UTF-16BE byte-order mark
// selects that encoding, a UTF-8 one is skipped. Without a mark, a text whose
// first character is ASCII is recognised as UTF-16LE or UTF-16BE by its NUL
// byte; anything else is taken as UTF-8. False when the file cannot be read.
bool ReadTextFile(const std::filesystem::path& path, std::string& out);

// Writes text as UTF-16LE, with or without byte-order mark. The file is
// written to a temporary name beside it and renamed over it, so a failed write
// leaves the old file as it was. False on any failure.
bool WriteUtf16File(const std::filesystem::path& path, std::string_view utf8, bool withBom);

// Writes raw bytes the same way (temporary file, then rename).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// ASCII-only case folding and comparison: never depends on the user's locale.
std::string ToLowerAscii(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace dpx
