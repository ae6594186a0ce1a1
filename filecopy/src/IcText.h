#pragma once

// The texts of the descriptor classes: private heap copies, never empty.
namespace IcText {

// A private copy of the text, or null when it is null or empty. Running out of
// memory also gives null: the owner then simply has no text.
char* Copy(const char* psz) noexcept;

void Free(char* psz) noexcept;

// Makes the copy before freeing the old text, so the new text may be the owned
// text itself or a part of it.
void Replace(char*& pszOwned, const char* pszNew) noexcept;

} // namespace IcText
