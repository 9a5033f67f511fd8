#pragma once
// The application's profile store on QSettings: the registry on Windows, an INI file under
// ~/.config/Tobira software/ on Linux. Sections are groups; texts are stored as Unicode.
#include <QSettings>
#include <memory>

#include "platform/profile.h"

namespace kibiki::ui {

class QtProfile : public Profile {
public:
    QtProfile();
    // For tests: a store in a given INI file.
    explicit QtProfile(const QString& strIniPath);

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& strDefault) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& strValue) override;
    // Names come back sorted: the INI store keeps no creation order.
    bool EnumValueNames(const std::string& section, std::vector<std::string>& names) override;

    QSettings& Settings() { return *m_pSettings; }

private:
    std::unique_ptr<QSettings> m_pSettings;
};

}  // namespace kibiki::ui
