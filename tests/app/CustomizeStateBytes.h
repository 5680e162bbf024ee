// The bytes a customised layout leaves in the registry file: little-endian integers, the framework's
// archived strings, a menu archived as the menu bar writes it, and a value read from the file itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/RegistryFormat.h"
#include "platform/user/Menu.h"

namespace customize_state_bytes {
inline std::string Dword(uint32_t v) {
    return std::string{(char)(v & 0xFF), (char)(v >> 8 & 0xFF), (char)(v >> 16 & 0xFF), (char)(v >> 24)};
}
inline std::string Word(uint16_t v) { return std::string{(char)(v & 0xFF), (char)(v >> 8)}; }
// The framework's archived string: a one-byte length below 255.
inline std::string Archived(const std::string& text) { return std::string(1, (char)text.size()) + text; }

// A menu template as the menu bar archives it: count, then type, has-popup, id and text per item.
inline std::string ArchivedMenu(const std::vector<MenuItemTemplate>& items) {
    std::string out = Dword((uint32_t)items.size());
    for (const MenuItemTemplate& item : items) {
        bool popup = (item.flags & MF_POPUP) != 0;
        out += Dword((item.flags & MF_SEPARATOR) ? MFT_SEPARATOR : MFT_STRING) + Dword(popup ? 1 : 0) +
               Dword(popup ? 0xFFFFFFFF : item.id) + Archived(item.text ? item.text : "");
        if (popup)
            out += ArchivedMenu(item.popup);
    }
    return out;
}

// The bytes of a value of Veltrin's profile as the registry file's text holds them; "<none>" without,
// "<damaged>" when the text does not parse.
inline std::string RegistryFileValue(const std::string& text, const char* section, const char* entry) {
    auto top = regfile::NewTree();
    if (!regfile::Parse(text, *top).ok)
        return "<damaged>";
    regfile::Key* key = regfile::FindKey(*top, {"HKEY_CURRENT_USER", "Software", "VeltrinEx", "Veltrin", section});
    const regfile::Value* value = key ? key->FindValue(entry) : nullptr;
    return value ? value->data : std::string("<none>");
}
}  // namespace customize_state_bytes
