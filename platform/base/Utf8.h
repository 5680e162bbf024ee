// Text is bytes: UTF-8 where it is valid UTF-8, else Windows-1252. These helpers tell the two apart
// and turn either into UTF-8 for whatever outside the program expects UTF-8 (fonts, the desktop).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes of the valid UTF-8 character that starts `text`, or 0 when none starts there.
size_t Utf8CharLength(std::string_view text);
bool IsValidUtf8(std::string_view text);
// Each byte read as a Windows-1252 character, written as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
// Valid UTF-8 as it stands, anything else read as Windows-1252.
std::string TextAsUtf8(std::string_view text);
