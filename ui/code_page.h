#pragma once
// The program's texts are byte strings in its code page, GB18030: a superset of
// GBK that is byte-identical to it on every GBK character and encodes every
// Unicode character, so nothing typed or pasted is lost on the way.

#include <wx/string.h>

#include <string>

namespace vorlindy {

std::string ToCodePage(const wxString& text);
wxString FromCodePage(const std::string& bytes);

}  // namespace vorlindy
