#include "ui/code_page.h"

#include <wx/strconv.h>

namespace vorlindy {

namespace {

const wxMBConv& CodePage() {
  static const wxCSConv conversion("GB18030");
  return conversion;
}

}  // namespace

std::string ToCodePage(const wxString& text) {
  const wxCharBuffer bytes = text.mb_str(CodePage());
  if (bytes.length() > 0 || text.empty()) return std::string(bytes.data(), bytes.length());
  // Only a text the code page cannot hold (a lone surrogate, say) gets here;
  // keep what can be kept rather than losing the whole text.
  std::string kept;
  for (wxUniChar c : text) {
    const wxCharBuffer one = wxString(c).mb_str(CodePage());
    kept.append(one.data(), one.length());
  }
  return kept;
}

wxString FromCodePage(const std::string& bytes) {
  const wxString text(bytes.data(), CodePage(), bytes.size());
  if (!text.empty() || bytes.empty()) return text;
  // Bytes that are not valid GB18030: read them one by one, latin-1 style, so
  // nothing is silently dropped.
  return wxString::From8BitData(bytes.data(), bytes.size());
}

}  // namespace vorlindy
