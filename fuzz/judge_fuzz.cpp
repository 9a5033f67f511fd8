// The whole judge: a built-in or custom lesson in any mode, fed any keystrokes through the
// practice view. Nothing crashes, and a run that is still going can always be finished by
// typing the keys it expects.
// Input: byte 0 mode (0-4; every input method's spelling when byte 0 / 5 is odd), byte 1 lesson (1-7 built-in, else a custom lesson whose file is the bytes
// up to the first 0xFF, in order or drawn), then the keystrokes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/practice_harness.h"

namespace {

kibiki::test::PracticeHarness& Harness() {
    static auto* h = [] {
        auto* p = new kibiki::test::PracticeHarness;
        p->m_form.m_bRecord = false;
        std::atexit([] { Harness().~PracticeHarness(); });
        return p;
    }();
    return *h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    auto& h = Harness();
    if (h.m_view.IsRunning()) h.m_view.StopRun();
    h.m_form.m_msgAnswers.clear();
    h.m_form.m_lessonEndAnswers.clear();

    const int nMode = data[0] % 5;
    const int nLesson = data[1] % 10;
    std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    h.m_doc.SetUserMode(kibiki::PracticeMode{nMode});
    h.m_doc.Settings().m_bImeSpellings = (data[0] / 5) % 2 != 0;
    if (nLesson >= 1 && nLesson <= 7) {
        h.m_form.m_lessonSelectAnswers.push_back(nLesson - 1);
        h.m_view.OnNewDocument();
    } else {
        const std::size_t split = rest.find('\xFF');
        const std::string file = rest.substr(0, split);
        rest = split == std::string::npos ? std::string() : rest.substr(split + 1);
        const std::string path = h.m_dir + "/fuzz.txt";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) std::abort();
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
        h.m_form.m_customStartAnswers.push_back({path, nLesson % 2});
        h.m_form.m_lessonSelectAnswers.push_back(7);
        h.m_view.OnNewDocument();
    }

    for (const char k : rest) {
        h.m_view.OnTypedChar(static_cast<unsigned char>(k));
        h.m_clock.m_dwTick += 97;
    }
    // Whatever was typed, the expected keys finish the run.
    for (int n = 0; h.m_view.IsRunning(); ++n) {
        const unsigned char ch = h.m_doc.NextExpectedKey();
        if (ch == 0 || n > 200000) std::abort();
        h.m_view.OnTypedChar(ch);
        h.m_clock.m_dwTick += 97;
    }
    return 0;
}
