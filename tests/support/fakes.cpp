#include "support/fakes.h"

#include <cstdlib>

#include "text/cp932.h"

namespace kibiki {

const std::string* FakeProfile::Find(const std::string& section, const std::string& entry) const {
    const auto s = m_sections.find(section);
    if (s == m_sections.end()) return nullptr;
    for (const auto& [name, value] : s->second)
        if (name == entry) return &value;
    return nullptr;
}

int FakeProfile::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    const std::string* v = Find(section, entry);
    return v ? std::atoi(v->c_str()) : nDefault;
}

std::string FakeProfile::GetProfileString(const std::string& section, const std::string& entry,
                                          const std::string& strDefault) {
    const std::string* v = Find(section, entry);
    return v ? *v : strDefault;
}

bool FakeProfile::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    return WriteProfileString(section, entry, std::to_string(nValue));
}

bool FakeProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                     const std::string& strValue) {
    auto& values = m_sections[section];
    for (auto& [name, value] : values)
        if (name == entry) { value = strValue; return true; }
    values.emplace_back(entry, strValue);
    return true;
}

bool FakeProfile::EnumValueNames(const std::string& section, std::vector<std::string>& names) {
    names.clear();
    const auto s = m_sections.find(section);
    if (s == m_sections.end()) return false;
    for (const auto& [name, value] : s->second) names.push_back(name);
    return true;
}

MsgResult RecordingMessenger::ShowMessage(const std::string& text, const std::string& caption,
                                          MsgButtons buttons, MsgIcon icon) {
    m_shown.push_back({Cp932ToUtf8(text), Cp932ToUtf8(caption), buttons, icon});
    return m_answer;
}

}  // namespace kibiki
