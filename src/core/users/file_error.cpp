#include "users/file_error.h"

#include "platform/regular_file.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

std::string FillIn(int nTextId, const std::string& strValue) {
    std::string text = StringOrEmpty(nTextId);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, strValue);
    return text;
}

std::string FileErrorText(int nTextId, const std::string& strValue, int nErrno) {
    return FileErrorText(nTextId, strValue, FaultOfErrno(nErrno));
}

std::string FileErrorText(int nTextId, const std::string& strValue, FileFault fault) {
    std::string text = FillIn(nTextId, strValue);
    if (StringOrEmpty(nTextId).find("%s") == std::string::npos) text += "\r\n" + strValue;
    if (const int nReason = FileFaultReason(fault)) text += "\r\n\r\n" + StringOrEmpty(nReason);
    return text;
}

}  // namespace kibiki
