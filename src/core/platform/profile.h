#pragma once
// The application's per-user profile store (sections and values). Texts are CP932.
#include <string>
#include <vector>

namespace kibiki {

class Profile {
public:
    virtual ~Profile() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& strDefault) = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& strValue) = 0;
    // Value names of a section in store order; false when the section does not exist.
    virtual bool EnumValueNames(const std::string& section, std::vector<std::string>& names) = 0;
};

}  // namespace kibiki
