#include "ui/app/qt_profile.h"

#include "ui/app/qt_text.h"

namespace kibiki::ui {

namespace {
QString Key(const std::string& section, const std::string& entry) {
    return FromCp932(section) + QLatin1Char('/') + FromCp932(entry);
}
}  // namespace

QtProfile::QtProfile()
    : m_pSettings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                              QStringLiteral("Tobira software"), QStringLiteral("Kibiki"))) {}

QtProfile::QtProfile(const QString& strIniPath)
    : m_pSettings(std::make_unique<QSettings>(strIniPath, QSettings::IniFormat)) {}

int QtProfile::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    const QVariant v = m_pSettings->value(Key(section, entry));
    if (!v.isValid()) return nDefault;
    // Leading digits count, as when a number is read from a text value.
    const std::string text = v.toString().trimmed().toStdString();
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

std::string QtProfile::GetProfileString(const std::string& section, const std::string& entry,
                                        const std::string& strDefault) {
    const QVariant v = m_pSettings->value(Key(section, entry));
    return v.isValid() ? ToCp932(v.toString()) : strDefault;
}

bool QtProfile::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    m_pSettings->setValue(Key(section, entry), nValue);
    m_pSettings->sync();
    return m_pSettings->status() == QSettings::NoError;
}

bool QtProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                   const std::string& strValue) {
    m_pSettings->setValue(Key(section, entry), FromCp932(strValue));
    m_pSettings->sync();
    return m_pSettings->status() == QSettings::NoError;
}

bool QtProfile::EnumValueNames(const std::string& section, std::vector<std::string>& names) {
    names.clear();
    const QString strGroup = FromCp932(section);
    if (!m_pSettings->childGroups().contains(strGroup)) return false;
    m_pSettings->beginGroup(strGroup);
    for (const QString& strKey : m_pSettings->childKeys()) names.push_back(ToCp932(strKey));
    m_pSettings->endGroup();
    return true;
}

}  // namespace kibiki::ui
