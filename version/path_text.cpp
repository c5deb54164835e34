#include "version/path_text.h"

std::wstring AddTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\') path.push_back(L'\\');
    return path;
}
