#pragma once
// The one place where core text (CP932 bytes) meets Qt text.
#include <QString>
#include <string>

namespace kibiki::ui {

QString FromCp932(const std::string& strCp932);
// Characters with no CP932 form become '?'.
std::string ToCp932(const QString& str);
// A numbered string of the tables; empty when there is none.
QString LoadUiString(int nId);

}  // namespace kibiki::ui
