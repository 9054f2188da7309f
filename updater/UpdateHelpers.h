#pragma once

#include <string>
#include <vector>

// Splits `text` at every `delimiter`. A delimiter at the end gives a last, empty item; two in
// a row give an empty item between them; an empty text gives no items. An empty delimiter
// gives the whole text as the only item.
std::vector<std::string> SplitText(const std::string& text, const std::string& delimiter);

// Creates the folder and any missing parents; "\" counts as "/". True when the folder exists
// afterwards.
bool CreateFolderPath(std::string path);

// Deletes the folder with everything below it; entries that cannot be deleted are left.
// Symbolic links are removed, never followed. True when the folder itself was removed.
bool DeleteFolderTree(const std::string& path);

// Id of the first process of this user whose executable is named `exeName` (case ignored);
// -1 when there is none.
long FindProcessId(const std::string& exeName);
