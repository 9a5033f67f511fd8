#include "ui/app/qt_text.h"

#include "text/cp932.h"
#include "text/string_table.h"

namespace kibiki::ui {

QString FromCp932(const std::string& strCp932) {
    return QString::fromStdString(Cp932ToUtf8(strCp932));
}

std::string ToCp932(const QString& str) { return Utf8ToCp932(str.toStdString()); }

QString LoadUiString(int nId) { return FromCp932(StringOrEmpty(nId)); }

}  // namespace kibiki::ui
