// The one file-name wildcard matcher: '*' any run of characters, '?' exactly one, ASCII case-blind.
#pragma once

#include <string_view>

// TRUE when the name matches the pattern. "*.*" matches every name, with or without a dot.
bool MatchWildcard(std::string_view pattern, std::string_view name);
