// Reading the text fields of a file's version resource.
#pragma once

#include <string>

// The twelve standard strings of a version resource. The caller creates it
// empty; the reader only assigns the fields it finds.
struct FileVersionStrings {
    std::wstring Comments;
    std::wstring CompanyName;
    std::wstring FileDescription;
    std::wstring FileVersion;
    std::wstring InternalName;
    std::wstring LegalCopyright;
    std::wstring LegalTrademarks;
    std::wstring OriginalFilename;
    std::wstring PrivateBuild;
    std::wstring ProductName;
    std::wstring ProductVersion;
    std::wstring SpecialBuild;
};

// Fills the record from the version resource of the file path + extension,
// under the language and code page of the file's first translation (or
// 0000/04e4 when it has none), then tidies FileVersion and ProductVersion.
// A file without a readable version block leaves the record untouched; a
// missing key leaves its field as it was. Never reports an error.
void ReadFileVersionStrings(FileVersionStrings& record, const std::wstring& path, const std::wstring& extension);
