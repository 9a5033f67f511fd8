#pragma once
// In-memory stand-ins for the platform, for tests and benchmarks.
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/messenger.h"
#include "platform/profile.h"

namespace kibiki {

class FakeProfile : public Profile {
public:
    // section -> ordered (name, value); ints are kept as decimal text like the registry's DWORD
    // read through GetProfileInt would give them back.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> m_sections;

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& strDefault) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& strValue) override;
    bool EnumValueNames(const std::string& section, std::vector<std::string>& names) override;

private:
    const std::string* Find(const std::string& section, const std::string& entry) const;
};

class FakeClock : public Clock {
public:
    std::uint32_t m_dwTick = 0;
    std::time_t m_tNow = 0;
    std::uint32_t TickCount() override { return m_dwTick; }
    std::time_t Now() override { return m_tNow; }
};

class FakeKeyboardState : public KeyboardState {
public:
    KeyStateArray m_state{};
    int m_nWrites = 0;
    void GetKeyboardState(KeyStateArray& state) override { state = m_state; }
    void SetKeyboardState(const KeyStateArray& state) override { m_state = state; ++m_nWrites; }
};

// Records every message (as UTF-8, for readable assertions) and answers with m_answer.
class RecordingMessenger : public Messenger {
public:
    struct Shown {
        std::string text;     // UTF-8
        std::string caption;  // UTF-8
        MsgButtons buttons;
        MsgIcon icon;
    };
    std::vector<Shown> m_shown;
    MsgResult m_answer = MsgResult::Ok;
    MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                          MsgIcon icon) override;
};

}  // namespace kibiki
