// The run record through a lesson: reset, question loading and drawing, question completion.
#include <algorithm>

#include "kana/kana_input.h"
#include "kana/kana_tables.h"
#include "lessons/catalogue.h"
#include "lessons/evaluation.h"
#include "lessons/kibiki_doc.h"
#include "lessons/practice_form.h"
#include "lessons/test_text.h"
#include "platform/clock.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr int kRandomQuestions = 20;
constexpr std::size_t kLongTextShown = 40;

// Romaji letters are typed with the kana lock off: printable ASCII only.
bool AsciiKeysCanType(const std::string& letters) {
    return std::all_of(letters.begin(), letters.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string Decimal(int n) { return std::to_string(n); }

}  // namespace

void CKibikiDoc::ResetRun(std::string& strDisplay, PracticeForm& form) {
    m_run.m_dKeystrokes = 0.0;
    m_run.m_nKanaTyped = 0;
    m_run.m_nFinishedChars = -1;
    m_run.m_nKanaPos = 0;
    m_run.m_nQuestionsDone = 0;
    m_run.m_nMisses = 0;
    m_run.m_bBaseStroke = true;
    m_run.m_bVoiced = false;
    m_matcher.Restart();
    m_segments.m_nSegment = -1;
    m_run.m_chGuideKey = 0;
    m_run.m_missedKeys.clear();
    m_run.m_dwStartTick = 0;

    FirstQuestion(form, strDisplay);
    if (IsRomajiAnswer(m_lesson.mode) && !strDisplay.empty() && !BuildRoman(m_run.m_strQuestion))
        strDisplay.clear();
}

void CKibikiDoc::FirstQuestion(PracticeForm& form, std::string& strDisplay) {
    m_rng.seed(static_cast<std::uint32_t>(m_pClock ? m_pClock->Now() : 0));
    const int lines = static_cast<int>(m_lesson.texts.aReadings.size());
    const bool random = m_lesson.order == QuestionOrder::Random20;
    m_run.m_nQuestionCount = 0;
    m_nDrawSize = 0;
    if (m_lesson.source == LessonSource::BuiltIn) {
        if (LessonIdRange(m_lesson.mode, m_lesson.nNumber, m_nFirstId, m_nLastId)) {
            m_run.m_nQuestionCount = random ? kRandomQuestions : m_nLastId - m_nFirstId + 1;
            if (random) m_nDrawSize = m_nLastId - m_nFirstId + 1;
        }
    } else if (m_lesson.source == LessonSource::TimedTest) {
        m_run.m_nQuestionCount = lines > 0 ? 1 : 0;  // one long question
    } else {
        m_run.m_nQuestionCount = random ? kRandomQuestions : lines;
        if (random) m_nDrawSize = lines;
    }
    form.SetControlText(IDC_REMAINING, Decimal(m_run.m_nQuestionCount));
    strDisplay.clear();
    if (m_run.m_nQuestionCount > 0) LoadQuestion(0, strDisplay);
}

bool CKibikiDoc::NextQuestion(PracticeForm& form, std::string& strDisplay) {
    strDisplay.clear();
    const bool bTypeable = LoadQuestion(m_run.m_nQuestionsDone, strDisplay);
    const int left = m_run.m_nQuestionCount - m_run.m_nQuestionsDone;
    form.SetControlText(IDC_REMAINING, Decimal(left));
    return bTypeable;
}

bool CKibikiDoc::LoadQuestion(int nQuestion, std::string& strDisplay) {
    const PracticeMode type = m_lesson.mode;
    const bool kanjiMode = HasKanjiQuestions(type);
    const bool random = m_lesson.order == QuestionOrder::Random20;
    std::string text, kanji;
    if (m_lesson.source == LessonSource::BuiltIn) {
        const int id = m_nFirstId + (random ? DrawIndex(m_rng, m_nDrawSize) : nQuestion);
        LoadString(id, text);
        if (kanjiMode) {
            const std::string entry = std::move(text);
            SplitKanjiReading(entry, kanji, text);
        }
    } else if (m_lesson.source == LessonSource::TimedTest) {
        TestText joined = JoinTestText(m_lesson.texts, KanaSeparator(), kMaxQuestionBytes);
        text = std::move(joined.strReading);
        kanji = std::move(joined.strDisplay);
    } else {
        const LessonTexts& texts = m_lesson.texts;
        const int index = random ? DrawIndex(m_rng, m_nDrawSize) : nQuestion;
        if (index >= 0 && static_cast<std::size_t>(index) < texts.aReadings.size())
            text = texts.aReadings[index];
        if (kanjiMode && index >= 0 && static_cast<std::size_t>(index) < texts.aKanji.size())
            kanji = texts.aKanji[index];
        if (ShowsRomaji(type) && !m_lesson.bEnglish && !m_lesson.BuiltInTexts() && !text.empty() &&
            !BuildRoman(text)) {
            // BuildRoman has told the user which text is faulty.
            return false;
        }
    }

    if (kanjiMode) {
        if (!kanji.empty()) {
            m_segments.SplitKanjiSegments(kanji, text, KanaSeparator());
        } else {
            std::string none;
            m_segments.SplitKanjiSegments(text, none, KanaSeparator());
        }
        m_run.m_strKanji = kanji;
        m_run.m_strQuestion = text;
        strDisplay = kanji.empty() ? text : kanji;
    } else if (ShowsRomaji(type)) {
        m_matcher.SetRoman(text);
        strDisplay = text;
    } else {
        m_run.m_strQuestion = text;
        strDisplay = text;
    }

    // A question that no keystroke could finish is refused as a faulty text: a display with
    // nothing to type (a kanji line without reading), a kana the kana keys do not give, or in
    // romaji input a character the ASCII keys do not give.
    bool typeable = true;
    if (!strDisplay.empty()) {
        if (IsKanaAnswer(type))
            typeable = !m_run.m_strQuestion.empty() && KanaKeysCanType(m_run.m_strQuestion);
        else if (ShowsRomaji(type))
            typeable = AsciiKeysCanType(m_matcher.Roman());
        else
            typeable = !m_run.m_strQuestion.empty();
    }
    if (!typeable || strDisplay.size() > kMaxQuestionBytes) {
        if (!typeable) ReportFaultyText(m_pMessenger, text);
        else ReportLongText(strDisplay);
        m_run.m_strQuestion.clear();
        strDisplay.clear();
        return false;
    }
    return true;
}

void CKibikiDoc::CountUnfinishedQuestion() {
    const std::string& question = m_run.m_strQuestion;
    const std::size_t pos = std::min(static_cast<std::size_t>(std::max(m_run.m_nKanaPos, 0)), question.size());
    // A voiced kana's base stroke is already counted, as it is in a finished question.
    m_run.m_dKeystrokes += IsKanaAnswer(m_lesson.mode) ? static_cast<double>(pos / 2)
                                                       : static_cast<double>(std::max(m_matcher.RomanPos(), 0));
    if (!ShowsRomaji(m_lesson.mode)) m_run.m_nKanaTyped += CountKana(std::string_view(question).substr(0, pos));
}

void CKibikiDoc::ReportLongText(const std::string& strDisplay) {
    if (!m_pMessenger) return;
    // The question's beginning tells the user which line of the file to shorten.
    std::size_t cut = 0;
    while (cut < strDisplay.size() && cut + CharLenAt(strDisplay, cut) <= kLongTextShown)
        cut += CharLenAt(strDisplay, cut);
    const std::string message = StringOrEmpty(IDS_QUESTION_TOO_LONG) + strDisplay.substr(0, cut) +
                                StringOrEmpty(IDS_ELLIPSIS);
    m_pMessenger->ShowMessage(message, std::string(), MsgButtons::Ok, MsgIcon::Warning);
}

bool CKibikiDoc::AdvanceQuestion(unsigned char& chGuide, std::string& strNext,
                                 std::string& strAccuracy, PracticeForm& form, bool& bFaulty) {
    LessonRun& run = m_run;
    const bool kana = IsKanaAnswer(m_lesson.mode);
    bFaulty = false;
    std::size_t length, position;
    if (kana) {
        length = run.m_strQuestion.size();
        position = static_cast<std::size_t>(std::max(run.m_nKanaPos, 0));
    } else {
        length = m_matcher.Roman().size();
        position = static_cast<std::size_t>(std::max(m_matcher.RomanPos(), 0));
    }
    strNext.clear();
    // A voiced kana is two keystrokes: the extra one counts on its base stroke.
    if (run.m_bVoiced) run.m_dKeystrokes += 1.0;
    if (position < length) return false;

    chGuide = run.m_chGuideKey;
    run.m_nKanaPos = 0;
    // The letters as typed: with an input method's spellings, a restart forgets them.
    run.m_dKeystrokes += kana ? static_cast<double>(run.m_strQuestion.size() / 2)
                              : static_cast<double>(m_matcher.Roman().size());
    m_matcher.Restart();

    strAccuracy = WholeNumber(AccuracyPercent(run.m_dKeystrokes, run.m_nMisses));
    if (!ShowsRomaji(m_lesson.mode)) run.m_nKanaTyped += CountKana(run.m_strQuestion);

    ++run.m_nQuestionsDone;
    const auto finish = [&] {
        run.m_dwEndTick = m_pClock ? m_pClock->TickCount() : 0;
        return true;
    };
    if (run.m_nQuestionsDone >= run.m_nQuestionCount) return finish();

    if (!NextQuestion(form, strNext)) {
        strNext.clear();
        bFaulty = true;
        return true;
    }
    if (strNext.empty()) {
        // Out of questions: the lesson ends with those typed so far.
        run.m_nQuestionsDone = run.m_nQuestionCount;
        return finish();
    }
    if (IsRomajiAnswer(m_lesson.mode) && !BuildRoman(run.m_strQuestion)) {
        strNext.clear();
        bFaulty = true;
        return true;
    }
    return false;
}

}  // namespace kibiki
